// Native test support for the file layer: a temporary folder of real files
// and a text-driver file defined over one of them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/errors/error_record.h"
#include "files/object/file_object.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"
#include "runtime/strings/value_stack.h"

namespace dove::files::testing {

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/dove_files_XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    std::string File(const std::string& leaf) const { return path_ + "/" + leaf; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// One defined text file: its name variable, record and definition.
class TextFile {
public:
    TextFile(const std::string& name, uint32_t recordLength, uint8_t attributes = kAttrCreate,
             const std::string& driverString = "", const RecordType* type = nullptr)
        : driverString_(driverString), record_(recordLength, ' ') {
        SetName(name);
        def_ = MakeDefinition(TextDriverEntry(), name_, kNameZeroTerminated, record_.data(),
                              recordLength, type, attributes, driverString_.c_str());
    }
    ~TextFile() { Destroy(&def_.pattern, 0); }

    void SetName(const std::string& name) { snprintf(name_, sizeof name_, "%s", name.c_str()); }
    FileObject* F() { return &def_.pattern; }
    FileDefinition& Def() { return def_; }
    std::string Record() const { return std::string(F0().record, F0().recordLength); }
    void SetRecord(const std::string& text) {
        std::string padded = text;
        padded.resize(record_.size(), ' ');
        std::copy(padded.begin(), padded.end(), def_.pattern.record);
    }

private:
    const FileObject& F0() const { return def_.pattern; }
    char name_[260] = {};
    std::string driverString_;
    std::vector<char> record_;
    FileDefinition def_;
};

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        err::ResetThreadRecord();
        vstack::Reset();
    }
    void TearDown() override { vstack::Reset(); }
    TempDir dir;
};

}  // namespace dove::files::testing
