// Where discovery finds the IDE, in which order, and what it says when it
// cannot.
#include "app/start/discovery.h"

#include <gtest/gtest.h>

#include "app/start/program_globals.h"
#include "dde/ide_names.h"
#include "runtime/message/message_dialog.h"
#include "support/profile_fake.h"
#include "support/recording_services.h"

namespace dove::app {
namespace {

using ide::kOwnIniFile;
using ide::kOwnIniSection;
using ide::kWinIniEnterpriseSection;
using ide::kWinIniSection;

void InstallIde(test::ProfileFake& fake, const char* section, const char* root, const char* exe) {
    if (root) fake.Set("", section, ide::kWinIniRootEntry, root);
    if (exe) fake.Set("", section, ide::kWinIniExeNameEntry, exe);
}

struct Found {
    bool ok;
    std::string root, exe, ini;
    size_t messages;
};

Found Discover() {
    test::RecordingServices services;
    ProgramGlobals& g = Globals();
    g.root[0] = g.exeName[0] = g.iniFile[0] = 0;
    bool ok = DiscoverIde(services);
    if (!services.messages.empty()) {
        const test::ShownMessage& m = services.messages[0];
        EXPECT_EQ(kEntryNotFoundText, m.text);
        EXPECT_EQ("Entry Not Found", m.caption);
        EXPECT_EQ("\xFF\x01\x04\x7F", m.icon);
        EXPECT_EQ("", m.buttons);
    }
    return {ok, g.root, g.exeName, g.iniFile, services.messages.size()};
}

TEST(Discovery, PlainSectionGivesRootExeAndTheDefaultIniFile) {
    test::ProfileFake fake;
    InstallIde(fake, kWinIniSection, "C:\\TV6\\", "C:\\TV6\\BIN\\TV.EXE");
    Found f = Discover();
    EXPECT_TRUE(f.ok);
    EXPECT_EQ("C:\\TV6\\", f.root);
    EXPECT_EQ("C:\\TV6\\BIN\\TV.EXE", f.exe);
    EXPECT_EQ("C:\\TV6\\Bin\\T60ee.ini", f.ini);
    EXPECT_EQ(0u, f.messages);
}

TEST(Discovery, OwnIniFileWinsOverEnterpriseWhichWinsOverPlain) {
    test::ProfileFake fake;
    InstallIde(fake, kWinIniSection, "C:\\Plain\\", "C:\\Plain\\p.exe");
    InstallIde(fake, kWinIniEnterpriseSection, "C:\\Ent\\", "C:\\Ent\\e.exe");
    Found f = Discover();
    EXPECT_EQ("C:\\Ent\\", f.root);
    EXPECT_EQ("C:\\Ent\\e.exe", f.exe);
    fake.Set(kOwnIniFile, kOwnIniSection, ide::kOwnRootEntry, "D:\\Own\\");
    fake.Set(kOwnIniFile, kOwnIniSection, ide::kOwnIniFileEntry, "D:\\Own\\own.ini");
    f = Discover();
    EXPECT_EQ("D:\\Own\\", f.root);
    EXPECT_EQ("C:\\Ent\\e.exe", f.exe);   // each value on its own
    EXPECT_EQ("D:\\Own\\own.ini", f.ini);
}

TEST(Discovery, RootWithoutTrailingSeparatorGetsOne) {
    EXPECT_EQ("C:\\TV6\\Bin\\T60ee.ini", DefaultIniFile("C:\\TV6"));
    EXPECT_EQ("C:\\TV6/Bin\\T60ee.ini", DefaultIniFile("C:\\TV6/"));
    EXPECT_EQ("C:\\TV6\\Bin\\T60ee.ini", DefaultIniFile("C:\\TV6\\  "));
}

// A name that cannot be held whole fails discovery: the commands would
// otherwise write into, or start, a file of a cut name.
TEST(Discovery, LongNamesAreHeldWholeOrFailWithTheMessage) {
    struct Row {
        size_t rootLength;   // the trailing backslash included
        size_t exeLength;
        bool ok;
    } rows[] = {{242, 20, true}, {246, 20, true},  {247, 20, false}, {254, 20, false},
                {300, 20, false}, {20, 254, true}, {20, 255, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.rootLength) + " " + std::to_string(row.exeLength));
        test::ProfileFake fake;
        std::string root = "C:\\" + std::string(row.rootLength - 4, 'r') + "\\";
        std::string exe = "C:\\" + std::string(row.exeLength - 3, 'e');
        InstallIde(fake, kWinIniSection, root.c_str(), exe.c_str());
        Found f = Discover();
        EXPECT_EQ(row.ok, f.ok);
        EXPECT_EQ(row.ok ? 0u : 1u, f.messages);
        if (row.ok) {
            EXPECT_EQ(root + "Bin\\T60ee.ini", f.ini);
            EXPECT_EQ(exe, f.exe);
        }
    }
    // The own ini file's name is held whole too, or refused.
    test::ProfileFake fake;
    InstallIde(fake, kWinIniSection, "C:\\TV6\\", "C:\\TV6\\tv.exe");
    fake.Set(kOwnIniFile, kOwnIniSection, ide::kOwnIniFileEntry, "D:\\" + std::string(256, 'i'));
    EXPECT_EQ("D:\\" + std::string(256, 'i'), Discover().ini);
    fake.Set(kOwnIniFile, kOwnIniSection, ide::kOwnIniFileEntry, "D:\\" + std::string(257, 'i'));
    EXPECT_FALSE(Discover().ok);
}

TEST(Discovery, MissingRootOrExeNameFailsWithTheMessage) {
    {
        test::ProfileFake fake;
        InstallIde(fake, kWinIniSection, nullptr, "C:\\x.exe");
        Found f = Discover();
        EXPECT_FALSE(f.ok);
        EXPECT_EQ(1u, f.messages);
        // The executable is not looked for without a root.
        EXPECT_EQ(3u, fake.readFiles.size());
    }
    {
        test::ProfileFake fake;
        InstallIde(fake, kWinIniSection, "C:\\TV6\\", "   ");
        Found f = Discover();
        EXPECT_FALSE(f.ok);
        EXPECT_EQ(1u, f.messages);
        EXPECT_EQ("C:\\TV6\\", f.root);
    }
}

}  // namespace
}  // namespace dove::app
