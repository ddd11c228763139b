// The name rules over the POSIX file interface: long and short forms,
// data-file names, and copy and rename with a folder as target.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/errors/error_record.h"
#include "files/os/os_file.h"
#include "files/os/path.h"
#include "runtime/strings/value_stack.h"

namespace path = dove::path;
namespace os = dove::os;

namespace {

TEST(EightDotThree, FormsBuiltFromTheTextAlone) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"C:\\Program Files\\Some Long Name.text", "C:\\Program_\\Some_Lon.tex"},
        {"c:/dir/file.txt", "c:\\dir\\file.txt"},
        {"a+b,c;d=e[f]g.h", "a_b_c_d_.h"},
        {"x:y:z", "x:y_z"},
        {"name.with.dots.extension", "name.wit.ext"},
        {"..\\.\\noext", "..\\.\\noext"},
        {"\\\\server\\share\\file", "\\\\server\\share\\file"},
        {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(path::EightDotThree(r.in), r.out) << r.in;
    EXPECT_EQ(path::EightDotThree(std::string(200, 'a')), "aaaaaaaa") << "at most 143 characters";
    const std::string many = "a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\l\\m\\n\\o\\p\\q\\r\\s\\t\\u\\v\\w\\x\\y\\z\\";
    EXPECT_EQ(path::EightDotThree(many + many + many + many + many + many), (many + many + many + many + many + many).substr(0, 143));
}

class PathPosix : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/dove_path_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        cwd_ = cwd;
    }
    void TearDown() override {
        path::SetDataDirectory("");
        ASSERT_EQ(chdir(cwd_.c_str()), 0);
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string In(const std::string& name) const { return dir_ + "/" + name; }
    void Put(const std::string& name, const std::string& bytes) { std::ofstream(In(name), std::ios::binary) << bytes; }
    std::string Get(const std::string& full) {
        std::ifstream in(full, std::ios::binary);
        if (!in) return "<missing>";
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir_, cwd_;
};

TEST_F(PathPosix, LongPathCompletesAndKeepsAMissingRest) {
    ASSERT_EQ(mkdir(In("sub").c_str(), 0777), 0);
    Put("sub/file.txt", "x");
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    std::string out;
    dove::err::Post(5);
    EXPECT_EQ(path::LongPath("sub/./file.txt   ", &out), 0);
    EXPECT_EQ(dove::err::Code(), 0) << "errors are cleared first";
    EXPECT_EQ(out, In("sub/file.txt"));
    EXPECT_EQ(path::LongPath("sub/missing/../x/y.txt", &out), 0);
    EXPECT_EQ(out, In("sub/x/y.txt"));
    EXPECT_EQ(path::LongPath("", &out), 0);
    EXPECT_EQ(out, dir_);

    // A full path that a path buffer cannot hold is a bad name (45), not
    // 300 + the system's "too long".
    const std::string tooLong(260 - dir_.size() - 1, 'n');
    EXPECT_EQ(path::LongPath(tooLong, &out), os::kErrNameTooLong);
    EXPECT_EQ(out, tooLong);
    dove::vstack::PushCopy(tooLong.data(), tooLong.size());
    path::LONGPATH();
    EXPECT_EQ(dove::err::Code(), 45);
    EXPECT_EQ(dove::vstack::PopString(), tooLong);
}

TEST_F(PathPosix, ShortPathOfWhatDoesNotExistIsTheText) {
    EXPECT_EQ(path::ShortPath(In("missing file")), In("missing file"));
    EXPECT_FALSE(os::Exists(In("missing file")));
    EXPECT_EQ(path::ShortPath("C:"), "C:\\");
    Put("there.txt", "x");
    EXPECT_EQ(path::ShortPath(In("there.txt") + "  "), In("there.txt"));
}

TEST_F(PathPosix, DataFileNamesGoUnderTheDataDirectory) {
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    std::string out;
    EXPECT_EQ(path::ResolveDataFileName("data.txt   ", &out), 0);
    EXPECT_EQ(out, In("data.txt"));
    path::SetDataDirectory(In("store"));
    EXPECT_EQ(path::ResolveDataFileName("data.txt", &out), 0);
    EXPECT_EQ(out, In("store/data.txt"));
    EXPECT_EQ(path::ResolveDataFileName("/abs/data.txt", &out), 0);
    EXPECT_EQ(out, "/abs/data.txt");
    path::SetDataDirectory(In("store/"));
    EXPECT_EQ(path::ResolveDataFileName("d.txt", &out), 0);
    EXPECT_EQ(out, In("store/d.txt"));
    path::SetDataDirectory("");
    const std::string fits(259 - dir_.size() - 1, 'n');   // completes to 259 characters
    EXPECT_EQ(path::ResolveDataFileName(fits, &out), 0);
    EXPECT_EQ(out.size(), 259u);
    EXPECT_EQ(path::ResolveDataFileName(fits + "n", &out), 45) << "too long once completed";
    EXPECT_EQ(path::ResolveDataFileName(std::string(260, 'n'), &out), 45);
    path::SetDataDirectory(std::string(250, 'd'));
    EXPECT_EQ(path::ResolveDataFileName("0123456789", &out), 45) << "the limit holds after placing";
}

TEST_F(PathPosix, CopyAndRenameWithAFolderAsTarget) {
    ASSERT_EQ(mkdir(In("to").c_str(), 0777), 0);
    Put("one.txt", "first");
    EXPECT_EQ(path::CopyDataFile(In("one.txt"), In("to")), 0);
    EXPECT_EQ(Get(In("to/one.txt")), "first");
    Put("one.txt", "second");
    EXPECT_EQ(path::CopyDataFile(In("one.txt"), In("to/")), 0);
    EXPECT_EQ(Get(In("to/one.txt")), "second");
    EXPECT_EQ(path::CopyDataFile(In("none.txt"), In("to")), 2);

    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("to")), 5) << "to/one.txt exists";
    EXPECT_EQ(Get(In("one.txt")), "second");
    ASSERT_EQ(os::Delete(In("to/one.txt")), 0);
    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("to")), 0);
    EXPECT_EQ(Get(In("to/one.txt")), "second");
    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("two.txt")), 2);
    EXPECT_EQ(path::RenameDataFile(In("gone/one.txt"), In("two.txt")), 3);
    EXPECT_EQ(path::RenameDataFile(std::string(260, 'a'), In("two.txt")), 45);
    EXPECT_EQ(path::CopyDataFile(In("to/one.txt"), In("to/") + std::string(260 - In("to/").size(), 'b')), 45);
    EXPECT_EQ(path::CopyDataFile(In("to/one.txt"), In("to/") + std::string(259 - In("to/").size(), 'b')), 0);
}

}  // namespace
