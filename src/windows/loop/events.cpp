#include "windows/loop/events.h"

#include <iterator>

namespace dove::win {

namespace {

struct NamedEvent {
  int number;
  const char* name;
};

constexpr NamedEvent kNames[] = {
    {EVENT_Accepted, "EVENT:Accepted"},         {EVENT_NewSelection, "EVENT:NewSelection"},
    {EVENT_ScrollUp, "EVENT:ScrollUp"},         {EVENT_ScrollDown, "EVENT:ScrollDown"},
    {EVENT_PageUp, "EVENT:PageUp"},             {EVENT_PageDown, "EVENT:PageDown"},
    {EVENT_ScrollTop, "EVENT:ScrollTop"},       {EVENT_ScrollBottom, "EVENT:ScrollBottom"},
    {EVENT_Locate, "EVENT:Locate"},             {EVENT_MouseUp, "EVENT:MouseUp"},
    {EVENT_MouseIn, "EVENT:MouseIn"},           {EVENT_MouseOut, "EVENT:MouseOut"},
    {EVENT_MouseMove, "EVENT:MouseMove"},       {EVENT_VBXevent, "EVENT:VBXevent"},
    {EVENT_AlertKey, "EVENT:AlertKey"},         {EVENT_PreAlert, "EVENT:PreAlert"},
    {EVENT_Dragging, "EVENT:Dragging"},         {EVENT_Drag, "EVENT:Drag"},
    {EVENT_Drop, "EVENT:Drop"},                 {EVENT_ScrollDrag, "EVENT:ScrollDrag"},
    {EVENT_TabChanging, "EVENT:TabChanging"},   {EVENT_Expanding, "EVENT:Expanding"},
    {EVENT_Contracting, "EVENT:Contracting"},   {EVENT_Expanded, "EVENT:Expanded"},
    {EVENT_Contracted, "EVENT:Contracted"},     {EVENT_Rejected, "EVENT:Rejected"},
    {EVENT_DroppingDown, "EVENT:DroppingDown"}, {EVENT_DroppedDown, "EVENT:DroppedDown"},
    {EVENT_ScrollTrack, "EVENT:ScrollTrack"},   {EVENT_ColumnResize, "EVENT:ColumnResize"},
    {EVENT_Selected, "EVENT:Selected"},         {EVENT_Selecting, "EVENT:Selecting"},
    {EVENT_CloseWindow, "EVENT:CloseWindow"},   {EVENT_CloseDown, "EVENT:CloseDown"},
    {EVENT_OpenWindow, "EVENT:OpenWindow"},     {EVENT_OpenFailed, "EVENT:OpenFailed"},
    {EVENT_LoseFocus, "EVENT:LoseFocus"},       {EVENT_GainFocus, "EVENT:GainFocus"},
    {EVENT_Suspend, "EVENT:Suspend"},           {EVENT_Resume, "EVENT:Resume"},
    {EVENT_Notify, "EVENT:Notify"},             {EVENT_Timer, "EVENT:Timer"},
    {EVENT_DDErequest, "EVENT:DDErequest"},     {EVENT_DDEadvise, "EVENT:DDEadvise"},
    {EVENT_DDEdata, "EVENT:DDEdata"},           {EVENT_DDEexecute, "EVENT:DDEexecute"},
    {EVENT_DDEpoke, "EVENT:DDEpoke"},           {EVENT_DDEclosed, "EVENT:DDEclosed"},
    {EVENT_Move, "EVENT:Move"},                 {EVENT_Size, "EVENT:Size"},
    {EVENT_Restore, "EVENT:Restore"},           {EVENT_Maximize, "EVENT:Maximize"},
    {EVENT_Iconize, "EVENT:Iconize"},           {EVENT_Completed, "EVENT:Completed"},
    {EVENT_Moved, "EVENT:Moved"},               {EVENT_Sized, "EVENT:Sized"},
    {EVENT_Restored, "EVENT:Restored"},         {EVENT_Maximized, "EVENT:Maximized"},
    {EVENT_Iconized, "EVENT:Iconized"},         {EVENT_Docked, "EVENT:Docked"},
    {EVENT_UnDocked, "EVENT:UnDocked"},         {EVENT_BuildFile, "EVENT:BuildFile"},
    {EVENT_BuildKey, "EVENT:BuildKey"},         {EVENT_BuildDone, "EVENT:BuildDone"},
};

}  // namespace

std::string_view EventName(int number) {
  for (const NamedEvent& e : kNames)
    if (e.number == number) return e.name;
  return {};
}

}  // namespace dove::win
