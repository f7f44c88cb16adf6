# Flags shared by every target of the project.

# Texts on screen are cp1251; the sources are UTF-8. clang, used only by the
# fuzz preset, converts to no other character set: there the texts stay UTF-8.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fexec-charset=CP1251 -finput-charset=UTF-8)
endif()
add_compile_options(-Wall -Wextra)
if(TERVIK_WERROR)
  add_compile_options(-Werror)
endif()

if(WIN32)
  enable_language(RC)
  # Only the Windows system DLLs at run time: the C and C++ runtimes go in statically.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Windows 7 is the oldest system the program runs on (the icons are PNG
  # frames, and today's TLS for the web fallback needs it): no call newer.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One thread runs the program; the only other one (the FTP reader's bounded
  # wait) touches no function-local static, so their initialisation needs no
  # guard (a few KB of the product).
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TERVIK_PRODUCT_BUILD ON)
  endif()
endif()

if(TERVIK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TERVIK_FUZZ)
  # Coverage for libFuzzer and ASan in every library; only the fuzz targets link
  # libFuzzer's own main.
  add_compile_options(-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address)
endif()

if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections -s)
endif()

# tervik_tests(<name> SOURCES ... LIBS ...): one GoogleTest executable per subsystem,
# registered as one CTest test that leaves a JUnit-style XML report for the summary.
function(tervik_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tervik_gtest_main)
  # Under Wine the report path must be a Windows path: Z: is the Unix root.
  set(report ${CMAKE_BINARY_DIR}/test-results/${name}.xml)
  if(WIN32)
    set(report Z:${report})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${report})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
