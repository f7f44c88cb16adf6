#include "TTrayState.h"

#include "elements/text/TQorStrCat.h"
#include "runtime/TQorChanelToIndex.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorGetIndexData.h"
#include "runtime/TQorHub.h"

TTrayState::TTrayState(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
    : TClassMultiBase(Container, Parent, MainScheme)
{
    MakeEdge(Container, 4, 0);

    IconPick = Make<TQorGetIndexData>();
    IconPick->SetCount(4);

    IconOut = Make<TQorDoData>();
    IconOut->FData = IntData(0);

    LevelHub1 = Make<TQorHub>();
    LevelHub1->SetOutCount(2);

    LevelHub2 = Make<TQorHub>();
    LevelHub2->SetOutCount(2);

    LevelHub3 = Make<TQorHub>();
    LevelHub3->SetOutCount(2);

    HintText = Make<TQorStrCat>();
    HintText->FStr1 = "Kp:";
    HintText->FStr2 = "";

    ErrorHub = Make<TQorHub>();
    ErrorHub->SetOutCount(2);

    ErrorText = Make<TQorDoData>();
    ErrorText->FData = StrData("Ошибка чтения FTP");

    Channel = Make<TQorChanelToIndex>();
    Channel->Count = 4;

    // Event links. The index given to Channel is the channel it reports.
    LinkEvent(Edge->onEvent[0], ErrorHub, &TQorHub::doEvent, 0);
    LinkEvent(Edge->onEvent[1], LevelHub1, &TQorHub::doEvent, 0);
    LinkEvent(Edge->onEvent[2], LevelHub2, &TQorHub::doEvent, 0);
    LinkEvent(Edge->onEvent[3], LevelHub3, &TQorHub::doEvent, 0);
    LinkEvent(IconPick->onIndex, IconOut, &TQorDoData::doData, 0);
    LinkEvent(IconOut->onEventData, Edge, &TQorEditMultiEx::doWork, 0);
    LinkEvent(LevelHub1->onEvent[0], Channel, &TQorChanelToIndex::doWork, 1);
    LinkEvent(LevelHub1->onEvent[1], HintText, &TQorStrCat::doStrCat, 0);
    LinkEvent(LevelHub2->onEvent[0], Channel, &TQorChanelToIndex::doWork, 2);
    LinkEvent(LevelHub2->onEvent[1], HintText, &TQorStrCat::doStrCat, 0);
    LinkEvent(LevelHub3->onEvent[0], Channel, &TQorChanelToIndex::doWork, 3);
    LinkEvent(LevelHub3->onEvent[1], HintText, &TQorStrCat::doStrCat, 0);
    LinkEvent(HintText->onStrCat, Edge, &TQorEditMultiEx::doWork, 1);
    LinkEvent(ErrorHub->onEvent[0], Channel, &TQorChanelToIndex::doWork, 0);
    LinkEvent(ErrorHub->onEvent[1], ErrorText, &TQorDoData::doData, 0);
    LinkEvent(ErrorText->onEventData, Edge, &TQorEditMultiEx::doWork, 1);
    LinkEvent(Channel->onIndex, IconPick, &TQorGetIndexData::doIndex, 0);

    // Data links.
    LinkData(IconPick->Data[0], Edge, &TQorEditMultiEx::Var, 0);
    LinkData(IconPick->Data[1], Edge, &TQorEditMultiEx::Var, 1);
    LinkData(IconPick->Data[2], Edge, &TQorEditMultiEx::Var, 2);
    LinkData(IconPick->Data[3], Edge, &TQorEditMultiEx::Var, 3);
    LinkData(IconOut->Data, IconPick, &TQorGetIndexData::Var, 0);
}
