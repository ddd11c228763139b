#include "windows/controls/driver_string_builder_win32.h"

#include <cstdint>
#include <cstring>

#include "files/text/text_driver_options.h"
#include "runtime/message/message_dialog.h"
#include "windows/loop/accept.h"
#include "windows/loop/runtime_window_win32.h"
#include "windows/controls/use_variable.h"

namespace dove::win {

namespace {

// Field sizes, as the window's definition declares its use variables. A
// buffer count of 10 digits is far past the largest the driver takes; the
// longest delimiter the driver applies, 16 codes of 255, is written in 66.
constexpr size_t kBuffersSize = 10;
constexpr size_t kTabSize = 10;
constexpr size_t kEndOfRecordSize = 66;

// The builder's use variables, in the order of the window's controls.
struct BuilderFields {
  uint8_t ctrlZIsEof = 1;
  uint8_t clip = 1;
  char buffers[kBuffersSize];
  char tab[kTabSize];
  char endOfRecord[kEndOfRecordSize];
  int32_t quickScan = 1;  // 1 Default, 2 On, 3 Off
};

// A value longer than its field would be shown cut and come back from OK
// as another value (a delimiter with a wrong code, a smaller buffer): it is
// refused with a word and the field starts at its default.
void RefuseWhatDoesNotFit(const char* name, size_t size, std::string* value) {
  if (value->size() <= size) return;
  Message("Poorly formed driver string.  " + std::string(name) + "=" + *value +
          " does not fit its field of " + std::to_string(size) + " characters.  Value ignored,");
  value->clear();
}

void RefuseWhatDoesNotFit(textopt::SwitchTable* t) {
  RefuseWhatDoesNotFit("/FILEBUFFERS", kBuffersSize, &t->buffers);
  RefuseWhatDoesNotFit("/TAB", kTabSize, &t->tab);
  RefuseWhatDoesNotFit("/ENDOFRECORD", kEndOfRecordSize, &t->endOfRecord);
}

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
  RefuseWhatDoesNotFit(&parsed.table);

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
