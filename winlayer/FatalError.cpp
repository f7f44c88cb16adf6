#include "winlayer/FatalError.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <typeinfo>

namespace winlayer {

namespace {

TFatalErrorBox gBox;
bool gShowing = false;
// Where the last C++ exception was thrown (see __wrap___cxa_throw below).
void *gLastThrowAddress = nullptr;

std::string Printf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Formats with the system's C library (msvcrt) rather than the C99 printf
// that MinGW links in for vsnprintf: that one alone is some 20 KB of the
// program, and the box needs nothing beyond %s, %p and %lX.
std::string Printf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = _vscprintf(format, args);
    va_end(args);
    std::string text;
    if (n > 0) {
        text.resize(static_cast<size_t>(n) + 1);
        _vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<size_t>(n));
    }
    va_end(again);
    return text;
}

HMODULE ModuleOf(const void *address)
{
    MEMORY_BASIC_INFORMATION info{};
    if (!address || !VirtualQuery(address, &info, sizeof info) || info.State != MEM_COMMIT)
        return nullptr;
    return static_cast<HMODULE>(info.AllocationBase);
}

// The file name (without directory) of the module the address lies in; the
// program's own when the address is in none.
std::string ModuleNameOf(const void *address)
{
    char path[MAX_PATH + 1] = {};
    DWORD n = 0;
    if (HMODULE module = ModuleOf(address))
        n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0)
        n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n);
    const size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The last name of a mangled class name: "16EAssertionFailed", "St13runtime_error"
// and "N8winlayer5EFailE" give "EAssertionFailed", "runtime_error" and "EFail";
// a built-in type its keyword. Anything else (templates, pointers) stays as it is
// mangled. Done here rather than by the C++ runtime's demangler, which would
// take some 40 KB of the program for the one class name of the fatal box.
std::string LastNameOf(const char *mangled)
{
    static const struct {
        char Code;
        const char *Name;
    } Builtins[] = {{'v', "void"},   {'b', "bool"},          {'c', "char"},
                    {'a', "signed char"}, {'h', "unsigned char"}, {'s', "short"},
                    {'t', "unsigned short"}, {'i', "int"},   {'j', "unsigned int"},
                    {'l', "long"},   {'m', "unsigned long"}, {'x', "long long"},
                    {'y', "unsigned long long"}, {'f', "float"}, {'d', "double"},
                    {'e', "long double"}};
    const std::string whole = mangled;
    if (whole.size() == 1)
        for (const auto &builtin : Builtins)
            if (builtin.Code == whole[0])
                return builtin.Name;
    size_t at = 0;
    bool nested = false;
    if (whole.compare(0, 1, "N") == 0) {
        nested = true;
        at = 1;
    }
    if (whole.compare(at, 2, "St") == 0)
        at += 2;
    std::string last;
    while (at < whole.size() && whole[at] >= '1' && whole[at] <= '9') {
        size_t length = 0;
        while (at < whole.size() && whole[at] >= '0' && whole[at] <= '9')
            length = length * 10 + static_cast<size_t>(whole[at++] - '0');
        if (length > whole.size() - at)
            return whole;
        last = whole.substr(at, length);
        at += length;
    }
    const bool complete = nested ? at + 1 == whole.size() && whole[at] == 'E' : at == whole.size();
    return complete && !last.empty() ? last : whole;
}

// The class name as the program's code spells it, without namespaces.
std::string ClassNameOf(const std::type_info *type)
{
    if (!type)
        return "Exception";
    return LastNameOf(type->name());
}

struct TFaultKind {
    DWORD Code;
    const char *ClassName;
    const char *Message;
};

const TFaultKind FaultKinds[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EAccessViolation", nullptr},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "ERangeError", "Range check error"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EDivByZero", "Division by zero"},
    {EXCEPTION_INT_OVERFLOW, "EIntOverflow", "Integer overflow"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EZeroDivide", "Floating point division by zero"},
    {EXCEPTION_FLT_OVERFLOW, "EOverflow", "Floating point overflow"},
    {EXCEPTION_FLT_UNDERFLOW, "EUnderflow", "Floating point underflow"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EInvalidOp", "Invalid floating point operation"},
    {EXCEPTION_PRIV_INSTRUCTION, "EPrivilege", "Privileged instruction"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EPrivilege", "Illegal instruction"},
    {EXCEPTION_STACK_OVERFLOW, "EStackOverflow", "Stack overflow"},
    {EXCEPTION_IN_PAGE_ERROR, "EInOutError", "In-page error"},
};

const TFaultKind *FaultKindOf(DWORD code)
{
    for (const TFaultKind &kind : FaultKinds)
        if (kind.Code == code)
            return &kind;
    return nullptr;
}

std::string FaultText(const EXCEPTION_RECORD &record, const TFaultKind *kind)
{
    const void *address = record.ExceptionAddress;
    std::string message;
    if (!kind) {
        message = Printf("External exception %08lX", static_cast<unsigned long>(record.ExceptionCode));
    } else if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION &&
               record.NumberParameters >= 2) {
        const ULONG_PTR how = record.ExceptionInformation[0];
        const char *what = how == 0 ? "Read" : how == 8 ? "Execute" : "Write";
        message = Printf("Access violation at address %p. %s of address %p", address, what,
                         reinterpret_cast<void *>(record.ExceptionInformation[1]));
    } else if (kind->Message) {
        message = kind->Message;
    } else {
        message = Printf("Access violation at address %p", address);
    }
    return FormatFatalError(kind ? kind->ClassName : "EExternalException", ModuleNameOf(address),
                            address, message);
}

// First chance: a fault in the program's own code is never expected, so it is
// fatal at once, before any frame of the system could swallow it.
LONG CALLBACK OwnCodeFaultHandler(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD &record = *pointers->ExceptionRecord;
    const TFaultKind *kind = FaultKindOf(record.ExceptionCode);
    if (!kind || ModuleOf(record.ExceptionAddress) != GetModuleHandleA(nullptr))
        return EXCEPTION_CONTINUE_SEARCH;
    FatalError(FaultText(record, kind));
}

// Last chance: whatever fault nobody handled, wherever it happened.
LONG WINAPI UnhandledFaultFilter(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD &record = *pointers->ExceptionRecord;
    FatalError(FaultText(record, FaultKindOf(record.ExceptionCode)));
}

void OnTerminate()
{
    if (std::current_exception())
        FatalCurrentException();
    FatalError(FormatFatalError("EAbort", ModuleNameOf(nullptr), nullptr, "Abnormal program termination"));
}

} // namespace

TFatalErrorBox SetFatalErrorBox(TFatalErrorBox box)
{
    TFatalErrorBox old = gBox;
    gBox = box;
    return old;
}

std::string FormatFatalError(const std::string &className, const std::string &moduleName,
                             const void *address, const std::string &message)
{
    return Printf("Exception %s in module %s at %p.\n%s%s", className.c_str(), moduleName.c_str(),
                  address, message.c_str(), "");
}

std::string CurrentExceptionText()
{
    const std::type_info *type = abi::__cxa_current_exception_type();
    std::string message;
    try {
        throw;
    } catch (const std::exception &e) {
        message = e.what();
    } catch (...) {
    }
    const void *address = gLastThrowAddress;
    return FormatFatalError(ClassNameOf(type), ModuleNameOf(address), address, message);
}

bool FatalErrorShowing()
{
    return gShowing;
}

void FatalError(const std::string &text)
{
    if (!gShowing) {
        gShowing = true;
        if (gBox)
            gBox(text.c_str(), FatalErrorCaption);
        else
            MessageBoxA(nullptr, text.c_str(), FatalErrorCaption,
                        MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    ExitProcess(1);
}

void FatalCurrentException()
{
    std::string text;
    try {
        text = CurrentExceptionText();
    } catch (...) {
        text = FormatFatalError("Exception", ModuleNameOf(nullptr), nullptr, "");
    }
    FatalError(text);
}

void InstallFatalErrorHandlers()
{
    AddVectoredExceptionHandler(1, &OwnCodeFaultHandler);
    SetUnhandledExceptionFilter(&UnhandledFaultFilter);
    std::set_terminate(&OnTerminate);
}

} // namespace winlayer

// The C++ runtime's default terminate handler names the exception with its
// demangler, some 40 KB of the program. The program puts its own handler in
// place at start (InstallFatalErrorHandlers); until then, and in programs that
// never do, this plainer one says what it can and aborts as the default does.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::fputs("terminate called", stderr);
    if (const std::type_info *type = abi::__cxa_current_exception_type()) {
        std::fputs(" after throwing an instance of '", stderr);
        std::fputs(winlayer::LastNameOf(type->name()).c_str(), stderr);
        std::fputs("'", stderr);
    }
    std::fputs("\n", stderr);
    std::abort();
}
} // namespace __gnu_cxx

// Every C++ throw goes through here (the link wraps __cxa_throw), so the box can
// tell where the exception was raised.
extern "C" void __real___cxa_throw(void *object, std::type_info *type, void (*destroy)(void *));

extern "C" void __wrap___cxa_throw(void *object, std::type_info *type, void (*destroy)(void *))
{
    winlayer::gLastThrowAddress = __builtin_return_address(0);
    __real___cxa_throw(object, type, destroy);
}
