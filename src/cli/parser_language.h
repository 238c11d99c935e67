#pragma once
// The command line's parser in the surveyor's language. CLI11 words its help and its usage
// errors in English ("Usage", "--label-layer is required", "The following arguments were not
// expected"); a surveyor reading a Chinese summary one line above must not meet them. Its two
// hooks carry the whole of it: the help formatter (labels, group titles, columns padded by
// display width, so that a Chinese type such as “米” keeps the descriptions in one column) and
// the failure message, which words each kind of parse error from what the parser holds (the
// option still missing, the arguments left over) rather than from CLI11's text.
//
// SpeakChinese is applied once every subcommand and option is added: it reaches each of them.

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace qorvel::cli {

// Gives `app` and all of its subcommands Chinese help and usage errors, and `--version`
// printing `version`.
void SpeakChinese(CLI::App& app, const std::string& version);

// A value out of a fixed list, refused in Chinese ("“6”不是可选的值：…"); CLI::IsMember's
// message is English.
CLI::Validator OneOf(std::vector<std::string> values);

}  // namespace qorvel::cli
