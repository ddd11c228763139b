// The unattended switch belongs to the program: taking it out must leave
// the command exactly as if it had never been typed, and nothing else may
// be taken for it.
#include "app/start/unattended.h"

#include <gtest/gtest.h>

#include "app/start/argument.h"
#include "app/start/unattended_log.h"

namespace dove::app::unattended {
namespace {

TEST(Unattended, TheSwitchIsTakenOutOfTheArgumentTextOnly) {
    struct Row {
        const char* raw;
        const char* expected;   // the raw line as ARGUMENT then reads it
    } rows[] = {
        {"DOVE60 /UNATTENDED REG x.tpl", "DOVE60 REG x.tpl"},
        {"DOVE60 /unattended\tUSERMENU \"My App\" Tools-A a.exe", "DOVE60 USERMENU \"My App\" Tools-A a.exe"},
        {"\"C:\\Program Files\\DOVE60.exe\"   /UnAttended   LIBSRC C:\\x", "\"C:\\Program Files\\DOVE60.exe\"   LIBSRC C:\\x"},
        {"DOVE60 /UNATTENDED", "DOVE60 "},
        {"DOVE60 /UNATTENDED   ", "DOVE60 "},
        // Read as the first argument is read: quoted, ended by a comma or
        // an 8-bit byte such as a non-breaking space.
        {"DOVE60 \"/UNATTENDED\" \"REG\" \"C:\\a b.tpl\"", "DOVE60 \"REG\" \"C:\\a b.tpl\""},
        {"DOVE60 /UNATTENDED,REG x", "DOVE60 REG x"},
        {"DOVE60 /UNATTENDED\xA0" "CMD", "DOVE60 CMD"},
        {"DOVE60 /UNATTENDED/CMD", "DOVE60 /CMD"},
        // Not the switch: another word, glued to more text, or not first.
        {"DOVE60 /UNATTENDEDX REG", "DOVE60 /UNATTENDEDX REG"},
        {"DOVE60 \"/UNATTENDED\"REG", "DOVE60 \"/UNATTENDED\"REG"},
        {"DOVE60 REG /UNATTENDED", "DOVE60 REG /UNATTENDED"},
        {"/UNATTENDED", "/UNATTENDED"},   // the program's own name
        {"\"my /UNATTENDED dir\\DOVE60.exe\" CMD", "\"my /UNATTENDED dir\\DOVE60.exe\" CMD"},
        {"", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.expected, WithoutSwitch(r.raw)) << "[" << r.raw << "]";
        std::string tail = CommandTailOf(r.raw);
        EXPECT_EQ(std::string(r.raw) != r.expected, BeginsWithSwitch(tail)) << "[" << r.raw << "]";
    }
    // The parameters after it are the same ones in the same places.
    std::string tail = CommandTailOf(WithoutSwitch("D /UNATTENDED USERMENU \"A B\" M,N \"C:\\a b.exe\" x+y"));
    EXPECT_EQ("USERMENU", SelectArgument(tail, "1", ""));
    EXPECT_EQ("A B", SelectArgument(tail, "2", ""));
    EXPECT_EQ("x+y", SelectArgument(tail, "6", ""));
}

TEST(Unattended, TheEnvironmentAsksWithAnyValueButEmptyAndZero) {
    EXPECT_FALSE(EnvironmentAsks(nullptr));
    EXPECT_FALSE(EnvironmentAsks(""));
    EXPECT_FALSE(EnvironmentAsks("0"));
    for (const char* value : {"1", "yes", "00", " 0", "true"}) EXPECT_TRUE(EnvironmentAsks(value)) << value;
}

// A log line must stay one line whatever a message holds.
TEST(Unattended, EveryLineBreakInATextStaysOnTheLine) {
    EXPECT_EQ("a | b | c | d | e", OneLine("a|b\r\nc\nd\re"));
    EXPECT_EQ("tab here and bell", OneLine("tab\there and\x07" "bell"));
    EXPECT_EQ(" |  | ", OneLine("||"));
    EXPECT_EQ("\xE4\xF6\xFC", OneLine("\xE4\xF6\xFC"));   // 8-bit text is text
}

}  // namespace
}  // namespace dove::app::unattended
