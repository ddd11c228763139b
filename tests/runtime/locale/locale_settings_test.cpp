#include "runtime/locale/locale_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/locale/char_tables.h"
#include "runtime/strings/strings.h"

namespace loc = dove::locale;
namespace ct = dove::chartab;

namespace {

class LocaleSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { loc::Install(loc::Defaults()); }
};

uint8_t U(char c) { return static_cast<uint8_t>(c); }

}  // namespace

TEST_F(LocaleSettingsTest, DefaultsAreEnglishAndTheWindowsDefaults) {
    const loc::Settings s = loc::Parse(loc::IntlValues{}, "");
    EXPECT_EQ("January", s.monthNames[0]);
    EXPECT_EQ("December", s.monthNames[11]);
    EXPECT_EQ("Sep", s.monthAbbrevs[8]);
    EXPECT_EQ("MM/dd/yy", s.shortDate);
    EXPECT_EQ("ddd', 'MMMM' 'dd', 'yyyy", s.longDate);
    EXPECT_FALSE(s.clock24);
    EXPECT_EQ(":", s.timeSeparator);
    EXPECT_EQ(nullptr, loc::ButtonCaption(0));
    EXPECT_EQ(nullptr, loc::MessageOverride(302));
    for (int c = 0; c < 256; ++c) {
        ASSERT_EQ(ct::Defaults().weight[c], s.tables.weight[c]) << c;
        ASSERT_EQ(ct::Defaults().cls[c], s.tables.cls[c]) << c;
    }
}

TEST_F(LocaleSettingsTest, IntlValuesAndEmptyFormatsFallBack) {
    loc::IntlValues intl;
    intl.iTime = "1";
    intl.iTLzero = "1";
    intl.sTime = ".";
    intl.sShortDate = "";
    const loc::Settings s = loc::Parse(intl, "");
    EXPECT_TRUE(s.clock24);
    EXPECT_TRUE(s.hourLeadingZero);
    EXPECT_EQ(".", s.timeSeparator);
    EXPECT_EQ("MM/dd/yy", s.shortDate);
}

TEST_F(LocaleSettingsTest, EverySettingOfTheEnvironmentFile) {
    const char* text =
        "; comment line\r\n"
        "# another comment\n"
        "\n"
        "  tovmonth = Jan1,Feb2,Mar3,Apr4,May5,Jun6,Jul7,Aug8,Sep9,Oct10,Nov11,Dec12  \r\n"
        "TOVMON=ja,fe,ma,ap,my,jn,jl,au,se,oc,no,de\n"
        "TOVAMPM=vorm,nachm\n"
        "TOVBUTTON=OK,&Ja,&Nein,,,,Abbrechen\n"
        "TOVMSG=302,Datei nicht gefunden, wirklich\n"
        "TOVMSG=2,Datei fehlt\n"
        "TOVCHARSET=238\n"
        "TOVSYSTEMCHARSET=OEM\n"
        "TOVLFN=off\n"
        "TOVLAYOUT=RTL\n"
        "TOVDIGRAPH=CH,LL\n";
    loc::Load(loc::IntlValues{}, text);
    const loc::Settings& s = loc::Current();
    EXPECT_EQ("Jan1", s.monthNames[0]);
    EXPECT_EQ("Dec12", s.monthNames[11]);
    EXPECT_EQ("de", s.monthAbbrevs[11]);
    EXPECT_EQ("vorm", s.amText);
    EXPECT_EQ("nachm", s.pmText);
    ASSERT_NE(nullptr, loc::ButtonCaption(1));
    EXPECT_EQ("&Ja", *loc::ButtonCaption(1));
    EXPECT_EQ("Abbrechen", *loc::ButtonCaption(6));
    EXPECT_EQ(nullptr, loc::ButtonCaption(3));   // empty item: built-in caption
    EXPECT_EQ(nullptr, loc::ButtonCaption(7));
    EXPECT_EQ(nullptr, loc::ButtonCaption(8));
    EXPECT_EQ(nullptr, loc::ButtonCaption(-1));
    ASSERT_NE(nullptr, loc::MessageOverride(302));
    EXPECT_EQ("Datei nicht gefunden, wirklich", *loc::MessageOverride(302));
    EXPECT_EQ("Datei fehlt", *loc::MessageOverride(2));
    EXPECT_EQ(nullptr, loc::MessageOverride(303));
    EXPECT_EQ(238, s.charset);
    EXPECT_EQ(255, s.systemCharset);
    EXPECT_FALSE(s.longFileNames);
    EXPECT_TRUE(s.rightToLeft);
    ASSERT_EQ(2u, s.digraphs.size());
    EXPECT_EQ("LL", s.digraphs[1]);
}

TEST_F(LocaleSettingsTest, MalformedLinesAreIgnoredOneByOne) {
    const char* text =
        "TOVMONTH=only,three,names\n"
        "TOVMON=a,b,c,d,e,f,g,h,i,j,k,\n"   // an empty name
        "TOVAMPM=am\n"
        "TOVBUTTON=1,2,3,4,5,6,7,8,9\n"
        "TOVMSG=abc,text\n"
        "TOVMSG=302\n"
        "TOVMSG=303,\n"
        "TOVCASE=Abc\n"
        "TOVCASE=\xc4\xe4,Xm\n"             // m would lose its way back to M
        "TOVCASE=\xc4\xe4,\xd6\xe4\n"       // \xe4 with two partners
        "TOVCASE=\xc4\xe4,\x01\xf6\n"       // a control character is no letter
        "TOVCOLSEQ=aa\n"
        "TOVCHARSET=300\n"
        "TOVLFN=maybe\n"
        "TOVLAYOUT=sideways\n"
        "TOVDIGRAPH=C\n"
        "TOVUNKNOWN=1\n"
        "no equals sign here\n"
        "=value without a name\n"
        "\xff\xfegarbage\n"
        "TOVMSG=304,kept";   // the last line needs no line break
    loc::Load(loc::IntlValues{}, std::string_view(text, std::char_traits<char>::length(text)));
    const loc::Settings& s = loc::Current();
    const loc::Settings d = loc::Defaults();
    EXPECT_EQ(d.monthNames, s.monthNames);
    EXPECT_EQ(d.monthAbbrevs, s.monthAbbrevs);
    EXPECT_EQ("AM", s.amText);
    EXPECT_EQ(nullptr, loc::ButtonCaption(0));
    EXPECT_EQ(nullptr, loc::MessageOverride(302));
    EXPECT_EQ(nullptr, loc::MessageOverride(303));
    ASSERT_NE(nullptr, loc::MessageOverride(304));
    EXPECT_EQ("kept", *loc::MessageOverride(304));
    EXPECT_EQ(0, s.charset);
    EXPECT_TRUE(s.longFileNames);
    EXPECT_FALSE(s.rightToLeft);
    EXPECT_TRUE(s.digraphs.empty());
    for (int c = 0; c < 256; ++c) {
        ASSERT_EQ(d.tables.weight[c], s.tables.weight[c]) << c;
        ASSERT_EQ(d.tables.cls[c], s.tables.cls[c]) << c;
    }
}

TEST_F(LocaleSettingsTest, CaseTableReachesTheStringLayer) {
    loc::Load(loc::IntlValues{}, "TOVCASE=\xc4\xe4, \xd6\xf6\n");   // Ä ä, Ö ö in code page 1252
    EXPECT_EQ(ct::kUpper, ct::Current().cls[0xC4]);
    EXPECT_EQ(ct::kLower, ct::Current().cls[0xE4]);
    EXPECT_EQ(0xC4, ct::Current().partner[0xE4]);
    EXPECT_EQ("\xc4PFEL \xd6L", dove::str::Upper("\xe4pfel \xf6l"));
    EXPECT_EQ("\xe4pfel", dove::str::Lower("\xc4PFEL"));
    EXPECT_EQ("A", dove::str::Upper("a"));   // the defaults stay
}

TEST_F(LocaleSettingsTest, CasePairsStayTwoWayAcrossLines) {
    loc::Load(loc::IntlValues{},
              "TOVCASE=\xc4\xe4\n"
              "TOVCASE=\xc4\xe4,\xd6\xf6\n"   // repeats a pair that holds: used
              "TOVCASE=\xdc\xe4,\xc9\xe9\n"   // \xe4 is taken: the whole line is ignored
              "TOVCASE=\xfc\xdc\n");          // the lower-case letter first: \xdc is no partner yet
    const ct::Tables& t = ct::Current();
    EXPECT_EQ(0xC4, t.partner[0xE4]);
    EXPECT_EQ(0xD6, t.partner[0xF6]);
    EXPECT_EQ(ct::kOther, t.cls[0xC9]);
    EXPECT_EQ(ct::kUpper, t.cls[0xFC]);
    EXPECT_EQ(ct::kLower, t.cls[0xDC]);
    for (int c = 0; c < 256; ++c) {
        if (t.cls[c] == ct::kOther) continue;
        ASSERT_EQ(c, t.partner[t.partner[c]]) << c;
        ASSERT_EQ(3 - t.cls[c], t.cls[t.partner[c]]) << c;
    }
}

// Line ends as editors write them; each text sets the AM/PM marker on its
// second line and TOVLFN on its third.
TEST_F(LocaleSettingsTest, LineEndsAndByteOrderMark) {
    const struct {
        const char* what;
        std::string text;
    } rows[] = {
        {"LF", "TOVMSG=2,two\nTOVAMPM=a,p\nTOVLFN=0"},
        {"CR LF", "TOVMSG=2,two\r\nTOVAMPM=a,p\r\nTOVLFN=0\r\n"},
        {"CR only", "TOVMSG=2,two\rTOVAMPM=a,p\rTOVLFN=0\r"},
        {"mixed", "TOVMSG=2,two\rTOVAMPM=a,p\nTOVLFN=0\r\n"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFTOVMSG=2,two\r\nTOVAMPM=a,p\r\nTOVLFN=0"},
        {"byte-order mark, CR only", "\xEF\xBB\xBFTOVMSG=2,two\rTOVAMPM=a,p\rTOVLFN=0"},
        {"empty lines between", "\r\rTOVMSG=2,two\r\n\r\n\nTOVAMPM=a,p\n\r\rTOVLFN=0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const loc::Settings s = loc::Parse(loc::IntlValues{}, row.text);
        ASSERT_EQ(1u, s.messages.size());
        EXPECT_EQ("two", s.messages.at(2));
        EXPECT_EQ("a", s.amText);
        EXPECT_EQ("p", s.pmText);
        EXPECT_FALSE(s.longFileNames);
    }
    // Only a mark at the very start is one; elsewhere it spoils its line.
    EXPECT_EQ("AM", loc::Parse(loc::IntlValues{}, "\n\xEF\xBB\xBFTOVAMPM=a,p").amText);
}

TEST_F(LocaleSettingsTest, CollatingSequenceReachesTheComparison) {
    // Without the setting "b" sorts before "\xe4" (0xE4); with it "\xe4" sorts
    // right after "a", so before "b".
    EXPECT_LT(dove::str::Compare("b", "\xe4"), 0);
    loc::Load(loc::IntlValues{}, "TOVCOLSEQ=a\xe4" "b\n");
    const ct::Tables& t = ct::Current();
    EXPECT_EQ(t.weight[U('a')] + 1, t.weight[0xE4]);
    EXPECT_EQ(t.weight[0xE4] + 1, t.weight[U('b')]);
    EXPECT_LT(t.weight[U('`')], t.weight[U('a')]);
    EXPECT_LT(t.weight[U('b')], t.weight[U('c')]);
    EXPECT_GT(dove::str::Compare("b", "\xe4"), 0);
    EXPECT_LT(dove::str::Compare("a", "\xe4"), 0);
    bool seen[256] = {};
    for (int c = 0; c < 256; ++c) {
        ASSERT_FALSE(seen[t.weight[c]]) << "two bytes weigh " << int(t.weight[c]);
        seen[t.weight[c]] = true;
    }
}

// The intl values are read on first use; a later install must not be
// overwritten by a read still pending, and the environment file's settings
// must survive the late read.
TEST_F(LocaleSettingsTest, IntlValuesReadOnFirstUseOnly) {
    static int reads = 0;
    reads = 0;
    auto readIntl = [](loc::IntlValues* intl) {
        ++reads;
        intl->iTime = "1";
        intl->sShortDate = "dd.MM.yy";
    };
    loc::LoadDeferringIntl(readIntl, "TOVAMPM=a,p\n");
    EXPECT_EQ(0, reads);
    EXPECT_TRUE(loc::Current().clock24);
    EXPECT_EQ("dd.MM.yy", loc::Current().shortDate);
    EXPECT_EQ("a", loc::Current().amText);
    EXPECT_EQ(1, reads);
    loc::LoadDeferringIntl(readIntl, "");
    loc::Install(loc::Defaults());
    EXPECT_FALSE(loc::Current().clock24);
    EXPECT_EQ(1, reads);
}

TEST(EnvironmentFileTest, NameAndReading) {
    EXPECT_EQ("C:\\DIR\\DOVE60.ENV", loc::EnvironmentFileName("C:\\DIR\\DOVE60.EXE"));
    EXPECT_EQ("C:\\DIR.X\\DOVE60.ENV", loc::EnvironmentFileName("C:\\DIR.X\\DOVE60"));
    EXPECT_EQ("/tmp/prog.ENV", loc::EnvironmentFileName("/tmp/prog.exe"));
    const std::string path = ::testing::TempDir() + "locale_settings_test.ENV";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("TOVAMPM=a,p\r\n", f);
    std::fclose(f);
    std::string text;
    ASSERT_TRUE(loc::ReadEnvironmentFile(path, &text));
    EXPECT_EQ("TOVAMPM=a,p\r\n", text);
    EXPECT_EQ("a", loc::Parse(loc::IntlValues{}, text).amText);
    std::remove(path.c_str());
    EXPECT_FALSE(loc::ReadEnvironmentFile(path, &text));
    EXPECT_EQ("", text);
}
