// The measured program of bench/textdriver: SET, then NEXT to the end of a
// text file through the file layer and the text driver, timed inside the
// process. Prints "<milliseconds> <records>".
//
//   textdriver_dove.exe FILE MODE [DRIVERSTRING]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/errors/error_record.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"

int main(int argc, char** argv) {
    using namespace dove::files;
    if (argc < 3) return 2;
    // As the program itself starts: the error record's Windows sources.
    dove::err::InstallWin32Sources();
    static char name[MAX_PATH];
    static char record[255];
    std::snprintf(name, sizeof name, "%s", argv[1]);
    const char* options = argc > 3 ? argv[3] : "";
    FileDefinition def = MakeDefinition(TextDriverEntry(), name, kNameZeroTerminated, record,
                                        sizeof record, nullptr, 0, options);
    FileObject* f = &def.pattern;
    Open(f, static_cast<int32_t>(std::strtol(argv[2], nullptr, 0)));
    if (dove::err::Code()) return 3;
    LARGE_INTEGER t0, t1, hz;
    QueryPerformanceFrequency(&hz);
    QueryPerformanceCounter(&t0);
    long records = 0;
    Set(f);
    for (;;) {
        Next(f);
        if (dove::err::Code()) break;
        ++records;
    }
    QueryPerformanceCounter(&t1);
    Close(f);
    std::printf("%.2f %ld\n", double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(hz.QuadPart),
                records);
    return 0;
}
