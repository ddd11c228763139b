#include "files/text/text_platform.h"

#include <atomic>

namespace dove::files {

const char kImportRefusalText[] = "File Driver does not support File Import";
const char kImportRefusalCaption[] = "File Import";

namespace {

std::atomic<void (*)(char*, uint32_t)> g_oemToAnsi{nullptr};
std::atomic<void (*)(char*, uint32_t)> g_ansiToOem{nullptr};
std::atomic<void (*)()> g_importBox{nullptr};

}  // namespace

void SetTextPlatform(const TextPlatform& p) {
    g_oemToAnsi = p.oemToAnsi;
    g_ansiToOem = p.ansiToOem;
    g_importBox = p.showImportRefusal;
}

void OemToAnsi(char* text, uint32_t length) {
    auto fn = g_oemToAnsi.load();
    (fn ? fn : &PlatformOemToAnsi)(text, length);
}

void AnsiToOem(char* text, uint32_t length) {
    auto fn = g_ansiToOem.load();
    (fn ? fn : &PlatformAnsiToOem)(text, length);
}

void ShowImportRefusal() {
    auto fn = g_importBox.load();
    (fn ? fn : &PlatformShowImportRefusal)();
}

}  // namespace dove::files
