// Control objects: one per control of an open window, each owning one
// platform window of a runtime class.
//
// A control is made from its definition record, sized in pixels through the
// window's unit, and created inside its platform parent: the window, a sheet
// or a tab page. Group boxes and option groups are not platform parents:
// their children are siblings placed inside their rectangle, so that the
// page's dialog navigation reaches them; disabling the group disables them.
//
// Entries and spin boxes show their use variable through their picture and
// complete an edit when they lose the focus: EVENT:Accepted with the value
// stored, or EVENT:Rejected with the old value kept and the text as typed.
#pragma once

// window_def.h before <windows.h>: the platform header defines a macro RGB.
#include "windows/definitions/window_def.h"

#include <windows.h>

#include <memory>
#include <string>

#include "runtime/message/icon_loader_win32.h"
#include "windows/controls/use_variable.h"
#include "windows/loop/window.h"
#include "windows/loop/window_classes_win32.h"
#include "windows/definitions/window_def.h"

namespace dove::win {

class RuntimeWindow;

class ControlObject : public Control {
 public:
  ControlObject(RuntimeWindow& window, const wdef::Control& def, int index);
  ~ControlObject() override;
  ControlObject(const ControlObject&) = delete;
  ControlObject& operator=(const ControlObject&) = delete;

  RuntimeWindow& window;
  const wdef::Control def;  // the definition record, decoded
  const int index;          // position in the window's definition order
  ControlObject* parent = nullptr;
  ClassId cls = ClassId::Count;
  HWND hwnd = nullptr;
  HWND upDown = nullptr;      // spin boxes: the arrows beside the edit
  RECT rect = {};             // pixels, in the window's client coordinates
  bool defaultWidth = false;
  bool defaultHeight = false;
  std::string text;
  UseVariable use;
  std::string picture;
  HFONT font = nullptr;       // the window's font unless the record has one
  bool ownsFont = false;
  HBRUSH background = nullptr;
  LoadedIcon icon;
  uint32_t slot = 0;
  // The first focus of an entry selects its whole text, as a dialog does.
  bool selectOnFocus = true;

  wdef::Kind kind() const { return def.kind; }
  bool IsEditing() const { return kind() == wdef::Kind::Entry || kind() == wdef::Kind::Spin; }
  // Group, option, sheet, tab: disabling them reaches their children.
  bool IsContainer() const;
  // The platform window that holds this control's window.
  HWND PlatformParent() const;
  // Offset of PlatformParent()'s client origin in the window's client area.
  POINT ParentOrigin() const;
};

// Creates the control's platform window (after its parent's). False when
// the platform refuses; the window then goes on without it.
bool CreateControlWindow(ControlObject& c);

// The control object of a runtime control window, or null.
ControlObject* ControlFromHwnd(HWND hwnd);

// DISPLAY for one control: the use variable's value into the control.
void ShowUseValue(ControlObject& c);
// Sets the text a control shows (Text property, texts of strings).
void SetControlText(ControlObject& c, const std::string& text);

// Completes an entry's or spin box's edit if its text was changed. Returns
// false when the text was rejected.
bool CompleteEdit(ControlObject& c);
// A spin box's arrows: completes a pending edit, steps the value, shows it
// and raises EVENT:NewSelection.
void StepSpin(ControlObject& c, int steps);

// A radio button was chosen: its option group stores the choice and raises
// EVENT:Accepted.
void ChooseRadio(ControlObject& radio);

// The answer to WM_CTLCOLOR* for a child: colours from its definition. Null
// when the control uses the defaults.
HBRUSH ControlColours(ControlObject& c, HDC dc);

}  // namespace dove::win
