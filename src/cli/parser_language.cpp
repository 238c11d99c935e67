#include "cli/parser_language.h"

#include <memory>
#include <string_view>

namespace qorvel::cli {

namespace {

constexpr std::size_t kNameColumn = 30;
constexpr std::string_view kSubcommandsGroup = "子命令";

bool Wide(char32_t code) {
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0x303E) ||
           (code >= 0x3041 && code <= 0x33FF) || (code >= 0x3400 && code <= 0x4DBF) ||
           (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xA000 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

// The columns a terminal gives `text` (UTF-8): two for a character of the East Asian wide
// ranges (Han, kana, Hangul, full-width forms), one for any other.
std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t index = 0; index < text.size();) {
        const auto lead = static_cast<unsigned char>(text[index]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length && index + next < text.size(); ++next)
            code = (code << 6) | (static_cast<unsigned char>(text[index + next]) & 0x3F);
        width += Wide(code) ? 2 : 1;
        index += length;
    }
    return width;
}

// Name left, description right, as CLI11 lays a line out, but padded by display width.
std::string HelpLine(const std::string& name, const std::string& description) {
    std::string line = "  " + name;
    const std::size_t width = DisplayWidth(line);
    if (!description.empty()) {
        if (width >= kNameColumn) line += "\n" + std::string(kNameColumn, ' ');
        else line += std::string(kNameColumn - width, ' ');
        for (const char c : description) {
            line += c;
            if (c == '\n') line += std::string(kNameColumn, ' ');
        }
    }
    return line + "\n";
}

class ChineseFormatter final : public CLI::Formatter {
public:
    ChineseFormatter() {
        label("Usage", "用法");
        label("OPTIONS", "选项");
        label("SUBCOMMAND", "子命令");
        label("SUBCOMMANDS", "子命令");
        label("Positionals", "参数");
    }

    std::string make_group(std::string group, bool positional, std::vector<const CLI::Option*> options) const override {
        std::string text = "\n" + group + "：\n";
        for (const CLI::Option* option : options) text += make_option(option, positional);
        return text;
    }
    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string usage = CLI::Formatter::make_usage(app, name);
        const std::string english = get_label("Usage") + ":" + (name.empty() ? "" : " ");
        if (usage.starts_with(english)) usage.replace(0, english.size(), get_label("Usage") + "：");
        return usage;
    }
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
        std::string help = CLI::Formatter::make_help(app, name, mode);
        const std::string english = "\n" + std::string(kSubcommandsGroup) + ":\n";
        if (const std::size_t at = help.find(english); at != std::string::npos)
            help.replace(at, english.size(), "\n" + std::string(kSubcommandsGroup) + "：\n");
        return help;
    }
    std::string make_option(const CLI::Option* option, bool positional) const override {
        return HelpLine(make_option_name(option, positional) + make_option_opts(option), make_option_desc(option));
    }
    std::string make_subcommand(const CLI::App* sub) const override {
        return HelpLine(sub->get_display_name(true), sub->get_description());
    }
    // What the value is (the check's word: 米, 数, {1,2,…}) or 值, and 必填: CLI11's type TEXT
    // says nothing to a surveyor.
    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty()) return " " + option->get_option_text();
        std::string type = option->get_type_name();
        if (option->get_type_size() == 0 || type.empty()) return {};  // a switch
        if (type.starts_with("TEXT")) type.erase(0, 4);
        if (type.starts_with(":")) type.erase(0, 1);
        std::string opts;
        if (!option->get_positional()) opts += " " + (type.empty() ? std::string("值") : type);
        if (option->get_required()) opts += " 必填";
        return opts;
    }
};

// The subcommands chosen on the command line, outermost first.
std::vector<const CLI::App*> ChosenCommands(const CLI::App* app) {
    std::vector<const CLI::App*> chain{app};
    while (!chain.back()->get_subcommands().empty()) chain.push_back(chain.back()->get_subcommands().front());
    return chain;
}

std::string CommandPath(const std::vector<const CLI::App*>& chain) {
    std::string path = "qorvel";
    for (std::size_t index = 1; index < chain.size(); ++index) path += " " + chain[index]->get_name();
    return path;
}

// The option or argument CLI11 names first in "NAME: …"; CLI11 gives no other handle on it.
std::string NamedFirst(const CLI::Error& error) {
    const std::string text = error.what();
    const std::size_t colon = text.find(": ");
    return colon == std::string::npos ? std::string() : text.substr(0, colon);
}

// The option a conversion failed on: "Could not convert: NAME = VALUE" or "NAME: …".
std::string ConvertedName(const CLI::Error& error) {
    constexpr std::string_view kCouldNot = "Could not convert: ";
    const std::string text = error.what();
    if (!text.starts_with(kCouldNot)) return NamedFirst(error);
    return text.substr(kCouldNot.size(), text.find(" = ") == std::string::npos ? std::string::npos
                                                                              : text.find(" = ") - kCouldNot.size());
}

std::string Quoted(const std::string& text) { return "“" + text + "”"; }

std::string ParseFailure(const CLI::App* app, const CLI::Error& error) {
    const std::vector<const CLI::App*> chain = ChosenCommands(app);
    const CLI::App* command = chain.back();
    std::string message;
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        if (chain.size() == 1) {
            const std::vector<std::string> typed = app->remaining();
            message = typed.empty() ? "缺少子命令" : "没有子命令" + Quoted(typed.front());
        } else {
            for (const CLI::Option* option : command->get_options()) {
                if (!option->get_required() || option->count() > 0) continue;
                message = (option->get_positional() ? "缺少参数 " : "缺少选项 ") + option->get_name() + "：" +
                          option->get_description();
                break;
            }
        }
    } else if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        std::string extras;
        for (const std::string& extra : app->remaining(true)) extras += (extras.empty() ? "" : " ") + Quoted(extra);
        message = "多出的参数：" + extras;
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        const std::string name = NamedFirst(error);
        message = name.empty() ? std::string("参数个数不对") : "选项 " + name + " 后缺少它的值";
    } else if (dynamic_cast<const CLI::ConversionError*>(&error)) {
        const std::string name = ConvertedName(error);
        message = name.empty() ? std::string("有一个开关的值无法识别（开关后不带值）")
                               : "选项 " + name + " 的值无法识别（开关后不带值）";
    } else if (dynamic_cast<const CLI::ValidationError*>(&error)) {
        // Our own checks word the reason: "NAME: 不是数字：0.08m".
        const std::string name = NamedFirst(error);
        const std::string reason = std::string(error.what()).substr(name.empty() ? 0 : name.size() + 2);
        message = name.empty() ? reason : "选项 " + name + "：" + reason;
    }
    if (message.empty()) message = "命令行有误";
    return "错误：" + message + "\n运行“" + CommandPath(chain) + " --help”查看用法。\n";
}

void InChinese(CLI::App& app, const std::shared_ptr<ChineseFormatter>& formatter) {
    app.formatter(formatter);
    app.failure_message(ParseFailure);
    if (CLI::Option* help = app.get_help_ptr()) help->description("显示本帮助并退出");
    for (CLI::Option* option : app.get_options())
        if (option->get_group() == "Options") option->group("选项");
    for (CLI::App* sub : app.get_subcommands(nullptr)) {
        if (sub->get_group() == "Subcommands") sub->group(std::string(kSubcommandsGroup));
        InChinese(*sub, formatter);
    }
}

}  // namespace

CLI::Validator OneOf(std::vector<std::string> values) {
    std::string listed;
    std::string braced;
    for (const std::string& value : values) {
        listed += (listed.empty() ? "" : "、") + value;
        braced += (braced.empty() ? "" : ",") + value;
    }
    return CLI::Validator(
        [values = std::move(values), listed](std::string& text) -> std::string {
            for (const std::string& value : values)
                if (value == text) return {};
            return Quoted(text) + "不是可选的值（可选：" + listed + "）";
        },
        "{" + braced + "}", "one of");
}

void SpeakChinese(CLI::App& app, const std::string& version) {
    app.set_version_flag("--version", version, "显示版本并退出");
    InChinese(app, std::make_shared<ChineseFormatter>());
}

}  // namespace qorvel::cli
