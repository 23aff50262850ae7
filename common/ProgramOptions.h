// The two options every program of the system understands before anything
// else: --help (-h) and --version. A program asks FindStandardOption first
// and, when it is not None, prints its usage or ProgramVersionText and exits
// 0 without starting a service.
#pragma once

#include <string>

enum class StandardOption { None, Help, Version };

// Help or Version when any argument is --help, -h or --version (the first wins).
StandardOption FindStandardOption(int argc, char** argv);
// "<program> <version>\n", e.g. "TARN_Gateway 2.5\n".
std::string ProgramVersionText(const std::string& program);
// Prints the usage text for --help or the version text for --version on
// standard output; true when one was asked for (the program then exits 0).
bool AnswerStandardOption(int argc, char** argv, const std::string& program,
                          const std::string& usage);
