// GETINI and PUTINI over an in-memory store: which platform call, which
// pointers, and what is clipped and cut.
#include "runtime/profile/profile.h"

#include <gtest/gtest.h>

#include "runtime/profile/profile_lock.h"
#include "runtime/strings/value_stack.h"
#include "support/profile_fake.h"

namespace dove {
namespace {

TEST(Profile, EmptyFileNameMeansWinIniAndBlanksAreClipped) {
    test::ProfileFake fake;
    fake.Set("", "Sec", "Key", "winini");
    fake.Set("own.ini", "Sec", "Key", "private");
    EXPECT_EQ("winini", GetIni("Sec  ", "Key ", "", "   "));
    EXPECT_EQ("private", GetIni("Sec", "Key", "", "own.ini  "));
    EXPECT_EQ((std::vector<std::string>{"", "own.ini"}), fake.readFiles);
    EXPECT_EQ("dflt", GetIni("Sec", "Missing", "dflt   ", "own.ini"));
    EXPECT_EQ(0, vstack::Depth());
}

TEST(Profile, DefaultValueAndFileNameAreCut) {
    test::ProfileFake fake;
    EXPECT_EQ(std::string(1023, 'd'), GetIni("S", "E", std::string(1500, 'd'), "f.ini"));
    PutIni("S", "E", std::string(1030, 'v'), std::string(300, 'f'));
    ASSERT_EQ(1u, fake.writes.size());
    EXPECT_EQ(std::string(1023, 'v'), fake.writes[0].value);
    EXPECT_EQ(std::string(259, 'f'), fake.writes[0].file);
    GetIni("S", "E", "", std::string(259, 'g') + "hhh");
    EXPECT_EQ(std::string(259, 'g'), fake.readFiles.back());
}

TEST(Profile, OmittedEntryAndValueArePassedAsNullAndDelete) {
    test::ProfileFake fake;
    fake.Set("f.ini", "S", "A", "1");
    fake.Set("f.ini", "S", "B", "2");
    PutIni("S", "A", "", "f.ini");   // an empty value is a value
    EXPECT_EQ("", fake.Get("f.ini", "S", "A"));
    PutIni("S", "A", std::nullopt, "f.ini");
    EXPECT_EQ("<none>", fake.Get("f.ini", "S", "A"));
    EXPECT_EQ("2", fake.Get("f.ini", "S", "B"));
    PutIni("S", std::nullopt, "ignored", "f.ini");
    EXPECT_FALSE(fake.HasSection("f.ini", "S"));
    ASSERT_EQ(3u, fake.writes.size());
    EXPECT_FALSE(fake.writes[0].entryNull || fake.writes[0].valueNull);
    EXPECT_TRUE(!fake.writes[1].entryNull && fake.writes[1].valueNull);
    EXPECT_TRUE(fake.writes[2].entryNull);
    PutIni("W", std::nullopt, std::nullopt, "");
    EXPECT_EQ("", fake.writes.back().file);
    EXPECT_EQ(0, vstack::Depth());
}

TEST(Profile, WritesTurnLineBreaksIntoBlanks) {
    test::ProfileFake fake;
    PutIni("Sec\r\n[Other", "Key\n[x]", "value  \r\n[Injected]\r\nk=v\r\n", "f.ini");
    ASSERT_EQ(1u, fake.writes.size());
    EXPECT_EQ("Sec  [Other", fake.writes[0].section);
    EXPECT_EQ("Key [x]", fake.writes[0].entry);
    EXPECT_EQ("value    [Injected]  k=v", fake.writes[0].value);
    PutIni("S", "E", "\n \r", "f.ini");
    EXPECT_EQ("", fake.writes[1].value);
}

// A name that would read back as a section header, a comment or another
// entry reaches no platform call: no caller can damage the file with it.
TEST(Profile, WritesNothingForANameThatWouldNotReadBackTheSame) {
    test::ProfileFake fake;
    struct Row {
        const char* section;
        const char* entry;
    };
    for (const Row& row : {Row{"S", "[Paths]"}, Row{"S", " \t[Paths"}, Row{"S", ";x"},
                           Row{"S", "a=b"}, Row{"S", "\t \x1A"}, Row{"S\r\n", "\n=x"},
                           Row{"Paths]x", "k"}, Row{"a]", nullptr}}) {
        SCOPED_TRACE(std::string(row.section) + " / " + (row.entry ? row.entry : "<omitted>"));
        if (row.entry) {
            PutIni(row.section, row.entry, "v", "f.ini");
            PutIni(row.section, row.entry, std::nullopt, "f.ini");
        } else {
            PutIni(row.section, std::nullopt, std::nullopt, "");
        }
        EXPECT_TRUE(fake.writes.empty());
    }
    EXPECT_EQ(0, vstack::Depth());
    // Look-alikes read back as written.
    PutIni("a[b;", "x[;", "=v", "f.ini");
    PutIni("[S", " k ", "[v]", "f.ini");
    EXPECT_EQ(2u, fake.writes.size());
}

// What the file gives back for a value written: the duplicate checks of
// the callers compare this form.
TEST(Profile, ValueAsReadBackTrimsBreaksAndOnePairOfQuotes) {
    struct Row {
        const char* written;
        const char* readBack;
    } rows[] = {{" \tTools/X|App \x1A", "Tools/X|App"}, {"'Tools/X|App'", "Tools/X|App"},
                {"\"''x''\"", "''x''"}, {" ' x ' ", " x "}, {"'x\"", "'x\""}, {"'", "'"},
                {"''", ""}, {"a\r\nb\n", "a  b"}, {"\r\n'q'\r\n", "q"}};
    for (const Row& row : rows) EXPECT_EQ(row.readBack, IniValueAsReadBack(row.written)) << row.written;
}

TEST(ProfileLock, NameIsThePathUpperCasedWithoutBackslashes) {
    EXPECT_EQ("DOVE60.IniFile:C:/TOVARO/BIN/T60EE.INI", ProfileLockName("c:\\Tovaro\\Bin\\t60ee.ini"));
    std::string longName = ProfileLockName("C:\\" + std::string(400, 'a') + "\\end.ini");
    EXPECT_EQ(259u, longName.size());
    EXPECT_EQ("/END.INI", longName.substr(longName.size() - 8));
}

}  // namespace
}  // namespace dove
