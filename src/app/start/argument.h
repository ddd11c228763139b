// ARGUMENT: the runtime's command-line accessor.
//
// The selector picks what is returned from the process's argument text (the
// command line without the program name):
//   empty      the whole text
//   "0"        the program's file name
//   "n"        the n-th argument (blanks and commas separate, a slash after
//              other characters starts a new argument, double quotes group,
//              a doubled quote is one literal quote)
//   "/name"    a switch: the first argument beginning with /name (any case),
//              returned without its slash
//   "name"     a named argument: the text after name= (any case)
// Nothing found gives the empty string; ARGUMENT never fails.
//
//   std::string first = dove::app::Argument("1");
#pragma once

#include <string>
#include <string_view>

namespace dove::app {

// Where the raw command line comes from. The Windows shell installs
// GetCommandLineA and GetModuleFileNameA; tests install their own text.
struct CommandLineSource {
    std::string (*rawCommandLine)();
    std::string (*programFileName)();
};
void SetCommandLineSource(const CommandLineSource& source);

// The stack form: pops the selector and pushes the result.
void ARGUMENT();
// The stack form with the selector omitted: pushes the whole argument text.
void ARGUMENT_Omitted();

// Typed wrapper over the stack form.
std::string Argument(std::string_view selector = {});

// The pure rules, over given texts.
std::string CommandTailOf(std::string_view rawCommandLine);
// The first argument of an argument text, and where the text after it
// begins (past the separators that end it: blanks, at most one comma).
struct FirstOfTail {
    std::string argument;
    size_t restAt = 0;
};
FirstOfTail FirstArgumentOf(std::string_view tail);
std::string SelectArgument(std::string_view tail, std::string_view selector,
                           const std::string& programFileName);

}  // namespace dove::app
