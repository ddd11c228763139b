#include "windows/driver_string_builder_win32.h"

#include <cstdint>
#include <cstring>

#include "files/text_driver_options.h"
#include "runtime/message_dialog.h"
#include "windows/accept.h"
#include "windows/runtime_window_win32.h"
#include "windows/use_variable.h"

namespace dove::win {

namespace {

// The builder's use variables, in the order of the window's controls.
struct BuilderFields {
  uint8_t ctrlZIsEof = 1;
  uint8_t clip = 1;
  char buffers[10];
  char tab[10];
  char endOfRecord[40];
  int32_t quickScan = 1;  // 1 Default, 2 On, 3 Off
};

std::string Clipped(const char* fixed, size_t n) {
  std::string s(fixed, n);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

void SetFixed(char* fixed, size_t n, const std::string& value) {
  WriteUseText(UseVariable{fixed, kUseFixedText, static_cast<uint32_t>(n)}, value);
}

void FromTable(const textopt::SwitchTable& t, BuilderFields* f) {
  f->ctrlZIsEof = t.ctrlZIsEof ? 1 : 0;
  f->clip = t.clip ? 1 : 0;
  SetFixed(f->buffers, sizeof f->buffers, t.buffers);
  SetFixed(f->tab, sizeof f->tab, t.tab);
  SetFixed(f->endOfRecord, sizeof f->endOfRecord, t.endOfRecord);
  f->quickScan = 1 + static_cast<int32_t>(t.quickScan);
}

textopt::SwitchTable ToTable(const BuilderFields& f) {
  textopt::SwitchTable t;
  t.ctrlZIsEof = f.ctrlZIsEof != 0;
  t.clip = f.clip != 0;
  t.buffers = Clipped(f.buffers, sizeof f.buffers);
  t.tab = Clipped(f.tab, sizeof f.tab);
  t.endOfRecord = Clipped(f.endOfRecord, sizeof f.endOfRecord);
  t.quickScan = f.quickScan == 2   ? textopt::QuickScanChoice::On
                : f.quickScan == 3 ? textopt::QuickScanChoice::Off
                                   : textopt::QuickScanChoice::Default;
  return t;
}

int FieldOf(const RuntimeWindow& w, const char* label) {
  const wdef::Control* c = w.definition().FindControl(label);
  return c ? c->field : -1;
}

}  // namespace

bool BuildDriverString(std::string* driverString) {
  textopt::BuilderResult parsed = textopt::ParseDriverString(*driverString);
  for (const std::string& message : parsed.messages) Message(message);

  BuilderFields f;
  FromTable(parsed.table, &f);
  RuntimeWindow window("ascmeta$ascmeon", "P3$BUILDERWINDOW",
                       {&f.ctrlZIsEof, &f.clip, f.buffers, f.tab, f.endOfRecord, &f.quickScan});
  window.Open();
  const int okButton = FieldOf(window, "?OKBUTTON");
  const int cancelButton = FieldOf(window, "?CANCELBUTTON");
  bool accepted = false;
  while (ACCEPT()) {
    if (EVENT() != EVENT_Accepted) continue;
    if (FIELD() == okButton) {
      accepted = true;
      POST(EVENT_CloseWindow);
    } else if (FIELD() == cancelButton) {
      POST(EVENT_CloseWindow);
    }
  }
  if (accepted) *driverString = textopt::ComposeDriverString(ToTable(f));
  return accepted;
}

}  // namespace dove::win
