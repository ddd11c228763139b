#include "app/commands/include_command.h"

#include <cstring>
#include <string>

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"
#include "runtime/message/message_dialog.h"
#include "runtime/strings/strings.h"

namespace dove::app {

const char kIncludeTooLongCaption[] = "Add Include to Template";

namespace {

constexpr uint32_t kLineSize = 255;

// The target file's name variable: program-wide, zero-terminated.
char g_targetName[255];
// The definition's own record; each thread works on its copy.
char g_line[kLineSize];

const files::FieldDesc kLineFields[] = {{files::kString, "LOC:LINE", 0, kLineSize}};
const files::RecordType kLineRecord = {files::kGroup, kLineSize, 1, kLineFields};

files::FileDefinition& TargetDefinition() {
    static files::FileDefinition def = files::MakeDefinition(
        files::TextDriverEntry(), g_targetName, files::kNameZeroTerminated, g_line, kLineSize,
        &kLineRecord, files::kAttrCreate | files::kAttrThread);
    return def;
}

std::string IncludeLine(const char* includeName) {
    return std::string("#INCLUDE('") + includeName + "')";
}

bool RecordIsBlank(const files::FileObject& f) {
    return str::IsBlank(std::string_view(f.record, f.recordLength));
}

// False when a write failed.
bool AppendInclude(files::FileObject* f, const std::string& line) {
    if (!RecordIsBlank(*f)) {
        files::ClearRecord(*f);
        files::Add(f);
        if (err::Code() != 0) return false;
    }
    str::AssignFixed(f->record, f->recordLength, line);
    files::Append(f);
    return err::Code() == 0;
}

void NoteResult(IncludeResult result, const std::string& fileName) {
    switch (result) {
    case IncludeResult::kDone: break;
    case IncludeResult::kMissingName:
        NoteFailure(Outcome::kUsage, "a file parameter is missing");
        break;
    case IncludeResult::kLineTooLong:
        NoteFailure(Outcome::kFileFailed, "the #INCLUDE line is too long: " + fileName);
        break;
    case IncludeResult::kOpenFailed:
        NoteFailure(Outcome::kFileFailed, "could not open " + fileName);
        break;
    case IncludeResult::kWriteFailed:
        NoteFailure(Outcome::kFileFailed, "could not write " + fileName);
        break;
    }
}

}  // namespace

files::FileObject* IncludeTarget() { return files::ThreadInstance(TargetDefinition()); }

std::string IncludeTooLongText(std::string_view fileName, std::string_view includeName) {
    std::string text = "The #INCLUDE line for this file is longer than the 255 characters of a "
                       "template line.  Nothing was written.|   File: ";
    text.append(fileName).append("|   FileToInclude: ").append(includeName);
    return text;
}

IncludeResult IncludeInto(const char* fileName, const char* includeName) {
    files::FileObject* f = IncludeTarget();
    str::AssignZ(g_targetName, sizeof g_targetName, fileName);
    char include[255];
    str::AssignZ(include, sizeof include, includeName);
    if (str::IsBlank(g_targetName) || str::IsBlank(include)) return IncludeResult::kMissingName;
    const std::string line = IncludeLine(include);
    // A line cut to the record would lack its closing "')": the template
    // would no longer compile, and the search, which looks for the whole
    // line, would never find it, so every run would add it again.
    if (line.size() > kLineSize) return IncludeResult::kLineTooLong;
    files::Open(f, 0x42);
    // Reads and writes of a file that did not open would all fail.
    if (err::Code() != 0) return IncludeResult::kOpenFailed;
    files::ClearRecord(*f);
    files::Set(f);
    IncludeResult result = IncludeResult::kDone;
    for (;;) {
        files::Next(f);
        if (err::Code() != 0) {
            if (!AppendInclude(f, line)) result = IncludeResult::kWriteFailed;
            break;
        }
        if (str::InString(std::string_view(f->record, f->recordLength), line) > 0) break;
    }
    files::Close(f);
    return result;
}

void IncludeCommand(AppServices& services) {
    const std::string fileName = GetToken(2), includeName = GetToken(3);
    IncludeResult result = IncludeInto(fileName.c_str(), includeName.c_str());
    NoteResult(result, fileName);
    if (result == IncludeResult::kLineTooLong)
        services.Message(IncludeTooLongText(fileName, includeName), kIncludeTooLongCaption,
                         SystemIconCode(kIconExclamation), "", 0, 0);
}

}  // namespace dove::app
