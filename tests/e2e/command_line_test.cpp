// DOVE60.exe as a user starts it: the command word picks the help box or the
// about box, and argument_probe shows what ARGUMENT and the tokeniser make of
// a real command line.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

const std::vector<std::string> kHelpLines = {
    "Command Line Parameters are:",
    "",
    "     REG TemplateToRegister",
    "     USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] ",
    "        + becomes a space and- becomes a \"/\" ",
    "     INCLUDE File FileToInclude",
    "     LIBSRC Path [Run] (Any third parameter will run TW)",
};

const std::vector<std::string> kAboutLines = {
    "The DOVidovur is a \"Command Line\" Tovaro 5 Utility.  From the command line you can:",
    "",
    "    Register a template using DDE",
    "    Add Menu Items to the Tovaro Environment",
    "    Add includes files to a template",
    "    Change the source directory for ABC compliant INClude files.",
    "",
    "Great for use with Wise InstallBuilder Execute Program script. This is what we now uses for "
    "all our installation programs! Also run it from the Window's Run dialog or a DOS prompt,  or "
    "create project specific ABC library directories and use it to start Tovaro using a selected "
    "directory.",  // the dialog clips the text's trailing blanks
};

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

struct BoxCase {
    const char* word;
    const std::vector<std::string>* lines;
    const char* screenshot;
};

// A command run needs the IDE in WIN.INI; the boxes need nothing else of it.
void ExpectUtilityBox(const BoxCase& c) {
    SCOPED_TRACE(std::string("DOVE60.exe ") + c.word);
    ide_test::WinIniIde ide(ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath());
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, gui::ExeCommand({c.word})));
    const gui::Dialog& d = box.d;
    EXPECT_EQ("DOVidovur", d.caption);
    ASSERT_EQ(1u, d.staticTexts.size()) << d.Describe();
    EXPECT_EQ(JoinLines(*c.lines), d.staticTexts[0]);
    ASSERT_EQ((std::vector<std::string>{"OK"}), d.ButtonTexts()) << d.Describe();
    EXPECT_EQ((std::vector<int>{IDOK}), d.ButtonIds());
    EXPECT_TRUE(d.buttons[0].isDefault) << d.Describe();
    EXPECT_EQ(IDOK, d.focusId) << d.Describe();
    EXPECT_TRUE(gui::ShowsIcon(d, LoadIconA(nullptr, IDI_ASTERISK)));
    if (c.screenshot) gui::Screenshot(box.dlg, c.screenshot);
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
}

TEST(UtilityBoxes, CmdInAnyLetterCaseShowsTheHelpBox) {
    ExpectUtilityBox({"CMD", &kHelpLines, "help_box"});
    ExpectUtilityBox({"cmd", &kHelpLines, nullptr});
    ExpectUtilityBox({"cMd", &kHelpLines, nullptr});
}

TEST(UtilityBoxes, UnknownOrOverlongWordsShowTheAboutBox) {
    ExpectUtilityBox({"HELLO", &kAboutLines, "about_box"});
    ExpectUtilityBox({"CMDCMDCMDCMDCMDCMDCMD", &kAboutLines, nullptr});  // 21 characters
}

TEST(UtilityBoxes, EnterPressesTheDefaultOk) {
    ide_test::WinIniIde ide(ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath());
    gui::App app = gui::Start(gui::ExeCommand({"CMD"}));
    HWND dlg = app.WaitWindow("#32770", 10000);
    ASSERT_TRUE(dlg) << app.Error();
    ASSERT_TRUE(gui::Enter(dlg));
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
}

HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    char buf[4096];
    DWORD got = 0;
    while (f != INVALID_HANDLE_VALUE && ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    std::string lf;
    for (char c : text)
        if (c != '\r') lf += c;
    return lf;
}

// Runs argument_probe with a raw argument text (quoted as a user would type
// it) and the selectors on its standard input; returns what it printed.
std::string ProbeArguments(const std::string& rawTail, const std::vector<std::string>& selectors) {
    std::string input;
    for (const std::string& s : selectors) input += s + "\n";
    std::string inPath = gui::ProbePath("argument_probe") + ".in.txt";
    std::string outPath = gui::ProbePath("argument_probe") + ".out.txt";
    HANDLE in = InheritableFile(inPath, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    WriteFile(in, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    SetFilePointer(in, 0, nullptr, FILE_BEGIN);
    HANDLE out = InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);

    std::string line = gui::Quote(gui::ProbePath("argument_probe")) + " " + rawTail;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi = {};
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back(0);
    BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &si, &pi);
    CloseHandle(in);
    CloseHandle(out);
    if (!started) return "could not start: " + line;
    DWORD waited = WaitForSingleObject(pi.hProcess, 15000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string printed = ReadWholeFile(outPath);
    DeleteFileA(inPath.c_str());
    DeleteFileA(outPath.c_str());
    return code == 0 ? printed : "exit " + std::to_string(code) + ": " + printed;
}

TEST(ArgumentProbe, RealCommandLineThroughArgumentAndTheTokeniser) {
    EXPECT_EQ("[REG]\n[My File.tpl]\n[]\nTOKENS=2\n[REG]\n[My File.tpl]\n",
              ProbeArguments("REG \"My File.tpl\"", {"1", "2", "3"}));
    EXPECT_EQ("[REG]\n[x.tpl]\nTOKENS=1\n[REG,x.tpl]\n", ProbeArguments("REG,x.tpl", {"1", "2"}));
    EXPECT_EQ("[a]\n[]\n[c]\nTOKENS=1\n[a,,c]\n", ProbeArguments("a,,c", {"1", "2", "3"}));
    EXPECT_EQ("[a]\n[/b]\n[b]\nTOKENS=1\n[a/b]\n", ProbeArguments("a/b", {"1", "2", "/B"}));
    EXPECT_EQ("[INCLUDE]\n[\"]\n[b.inc]\nTOKENS=2\n[INCLUDE]\n[b.inc]\n",
              ProbeArguments("INCLUDE \"\" b.inc", {"1", "2", "3"}));
    EXPECT_EQ("[x]\n[1]\nTOKENS=2\n[x]\n[n=1]\n", ProbeArguments("x n=1", {"1", "N"}));
}

TEST(ArgumentProbe, HighBytesSplitOutsideQuotesOnly) {
    EXPECT_EQ("[ab]\n[cd]\n[ab\xE9" "cd]\nTOKENS=2\n[ab\xE9" "cd]\n[ab\xE9" "cd]\n",
              ProbeArguments("ab\xE9" "cd \"ab\xE9" "cd\"", {"1", "2", "3"}));
}

TEST(ArgumentProbe, TextBeyond254CharactersHasNoParameters) {
    std::string tail = "CMD " + std::string(247, 'a') + " tail";
    std::string out = ProbeArguments(tail, {"3"});
    EXPECT_EQ("[tail]\nTOKENS=3\n[CMD]\n[" + std::string(247, 'a') + "]\n[ta]\n", out);
}

TEST(ArgumentProbe, QuotedProgramNameIsSkippedWhole) {
    // The probe's path is quoted by the harness; selector 0 is the module.
    std::string out = ProbeArguments("first", {"1", "0"});
    EXPECT_EQ(0u, out.find("[first]\n[")) << out;
    EXPECT_NE(std::string::npos, out.find("argument_probe.exe]")) << out;
}

}  // namespace
