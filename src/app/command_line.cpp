// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <cctype>

#include "support/program_lines.h"

namespace ks {

namespace {

constexpr std::string_view kProgram = "kestrova";

// The standard options of QGuiApplication and QApplication, which Qt reads
// with one dash or two; whether each takes the next argument as its value.
struct ToolkitOption {
    std::string_view name;
    bool takesValue;
};
// clang-format off
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"display", true}, {"style", true}, {"stylesheet", true}, {"reverse", false}, {"widgetcount", false},
};
// clang-format on

const ToolkitOption* FindToolkitOption(std::string_view arg)
{
    arg.remove_prefix(arg.substr(0, 2) == "--" ? 2 : 1);
    for (const ToolkitOption& o : kToolkitOptions)
        if (o.name == arg) return &o;
    return nullptr;
}

StartRequest Refuse(std::string_view what, std::string_view argument)
{
    return {StartRequest::Action::Refuse, RefusalLine(kProgram, what, argument) + "\n", {}};
}

}  // namespace

bool IsDesignFile(std::string_view argument)
{
    // By its name, as the desktop knows the type: the file itself is read,
    // and any fault in it shown, once there is a window to show it in.
    if (argument.size() <= kDesignFileSuffix.size()) return false;
    const std::string_view suffix = argument.substr(argument.size() - kDesignFileSuffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(suffix[i])) != kDesignFileSuffix[i]) return false;
    return argument[argument.size() - kDesignFileSuffix.size() - 1] != '/';
}

StartRequest ReadStartArguments(const std::vector<std::string_view>& args)
{
    StartRequest run;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "-h" || a == "--help")) {
            return {StartRequest::Action::Print, std::string(kKestrovaUsage), {}};
        } else if (options && a == "--version") {
            return {StartRequest::Action::Print, VersionText(kProgram), {}};
        } else if (options && a.size() > 1 && a[0] == '-') {
            const ToolkitOption* o = FindToolkitOption(a);
            if (!o) return Refuse("unknown option:", a);
            if (o->takesValue && ++i == args.size()) return Refuse("option needs a value:", a);
        } else if (IsDesignFile(a)) {
            run.designFiles.emplace_back(a);
        } else {
            return Refuse("not a Kestrova design file:", a);
        }
    }
    return run;
}

}  // namespace ks
