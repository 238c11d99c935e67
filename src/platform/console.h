#pragma once
// The program's arguments and standard streams, in UTF-8 on every system. On Windows the
// arguments an ordinary main receives are in the ANSI code page, where 测试\route.dxf arrives as
// "??" (code page 1252) or as GBK bytes (936): they are taken from the wide command line instead,
// and the console is told to show UTF-8. The streams pass bytes as written (no LF turned into
// CR LF), so that the summary lines are the same bytes everywhere.

#include <string>
#include <vector>

namespace qorvel::platform {

// The arguments, argv[0] first, each as UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Readies stdout and stderr for UTF-8 text (and stderr's progress line for its control codes);
// called once by main before anything is printed.
void PrepareStandardStreams();

// True when stderr is a terminal (a console window), where progress is drawn.
bool StandardErrorIsTerminal();

}  // namespace qorvel::platform
