// CliMessages: the Japanese help layout, parse-error messages and exit-status list of zentrix-cli.
#include "CliMessages.h"

#include "history_io/TextEncoding.h"

#include <CLI/CLI.hpp>
#include <array>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

// The parser's own words, as they appear in help headings, value kinds and option names, and
// what the user reads instead.
const std::map<std::string, std::string>& Labels()
{
    static const std::map<std::string, std::string> labels = {
        {"Usage", "使い方"},
        {"OPTIONS", "オプション"},
        {"SUBCOMMAND", "サブコマンド"},
        {"SUBCOMMANDS", "サブコマンド"},
        {"Positionals", "引数"},
        {"Options", "オプション"},
        {"Subcommands", "サブコマンド"},
        {"REQUIRED", "（必須）"},
        {"Needs", "必要:"},
        {"Excludes", "同時に使えない:"},
        {"Env", "環境変数"},
        {"FILE", "ファイル"},
    };
    return labels;
}

std::string Label(const std::string& word)
{
    const auto found = Labels().find(word);
    return found == Labels().end() ? word : found->second;
}

std::string BaseKind(const std::string& type)
{
    if (type == "INT" || type == "UINT")
        return "整数";
    if (type == "FLOAT" || type == "NUMBER")
        return "数値";
    if (type == "TEXT")
        return "文字列";
    if (type == "BOOLEAN")
        return "on/off";
    return {};
}

/// "INT:INT in [1 - 100]" gives "整数 1～100", "TEXT:{on,off}" gives "on|off". Validator texts
/// the parser adds in English and that have no Japanese form here are left out.
std::string KindText(const std::string& typeName)
{
    static const std::regex range(R"(^(?:[A-Z]+ )?in \[(-?[0-9.]+) - (-?[0-9.]+)\]$)");
    static const std::regex members(R"(^\{(.*)\}$)");
    std::vector<std::string> parts;
    std::istringstream in(typeName);
    for (std::string part; std::getline(in, part, ':');)
        parts.push_back(part);
    if (parts.empty())
        return {};
    std::string kind = BaseKind(parts[0]);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::smatch match;
        if (std::regex_match(parts[i], match, range)) {
            kind += " " + match[1].str() + "～" + match[2].str();
        } else if (std::regex_match(parts[i], match, members)) {
            std::string list = match[1].str();
            std::replace(list.begin(), list.end(), ',', '|');
            kind = list;
        } else if (parts[i] == "FILE") {
            kind = "既存のファイル";
        } else if (parts[i] == "DIR") {
            kind = "既存のフォルダ";
        } else if (parts[i] == "PATH(existing)") {
            kind = "既存のパス";
        }
    }
    return kind;
}

/// Two-column help lines whose second column starts at `width` display columns, however many
/// bytes the first column's Japanese takes.
void FormatHelpLine(std::ostream& out, const std::string& name, const std::string& description,
                    std::size_t width)
{
    const std::string left = "  " + name;
    out << left;
    if (!description.empty()) {
        const std::size_t used = DisplayWidth(left);
        if (used >= width)
            out << '\n' << std::string(width, ' ');
        else
            out << std::string(width - used, ' ');
        for (const char c : description) {
            out.put(c);
            if (c == '\n')
                out << std::string(width, ' ');
        }
    }
    out << '\n';
}

class JapaneseFormatter final : public CLI::Formatter
{
public:
    JapaneseFormatter()
    {
        for (const auto& [word, text] : Labels())
            label(word, text);
        column_width(32);
    }

    std::string make_description(const CLI::App* app) const override
    {
        const std::string description = app->get_description();
        return description.empty() ? std::string() : description + "\n";
    }

    std::string make_group(std::string group, bool is_positional,
                           std::vector<const CLI::Option*> opts) const override
    {
        return CLI::Formatter::make_group(get_label(group), is_positional, std::move(opts));
    }

    std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override
    {
        std::string text = CLI::Formatter::make_subcommands(app, mode);
        for (const CLI::App* sub : app->get_subcommands({})) {
            const std::string heading = "\n" + sub->get_group() + ":\n";
            if (const std::size_t at = text.find(heading); at != std::string::npos)
                text.replace(at, heading.size(), "\n" + get_label(sub->get_group()) + ":\n");
        }
        return text;
    }

    std::string make_subcommand(const CLI::App* sub) const override
    {
        std::ostringstream out;
        FormatHelpLine(out, sub->get_display_name(true), sub->get_description(), column_width_);
        return out.str();
    }

    std::string make_option(const CLI::Option* opt, bool is_positional) const override
    {
        std::ostringstream out;
        FormatHelpLine(out, make_option_name(opt, is_positional) + make_option_opts(opt),
                       make_option_desc(opt), column_width_);
        return out.str();
    }

    std::string make_option_name(const CLI::Option* opt, bool is_positional) const override
    {
        return is_positional ? get_label(opt->get_name(true, false)) : opt->get_name(false, true);
    }

    std::string make_option_opts(const CLI::Option* opt) const override
    {
        if (!opt->get_option_text().empty())
            return " " + opt->get_option_text();
        std::string text;
        if (opt->get_type_size() != 0) {
            if (const std::string kind = KindText(opt->get_type_name()); !kind.empty())
                text += " " + kind;
            if (!opt->get_default_str().empty())
                text += "（既定 " + opt->get_default_str() + "）";
            if (opt->get_expected_max() == CLI::detail::expected_max_vector_size)
                text += " …";
            if (opt->get_required())
                text += get_label("REQUIRED");
        }
        if (!opt->get_envname().empty())
            text += "（" + get_label("Env") + " " + opt->get_envname() + "）";
        if (!opt->get_needs().empty()) {
            text += " " + get_label("Needs");
            for (const CLI::Option* other : opt->get_needs())
                text += " " + other->get_name();
        }
        if (!opt->get_excludes().empty()) {
            text += " " + get_label("Excludes");
            for (const CLI::Option* other : opt->get_excludes())
                text += " " + other->get_name();
        }
        return text;
    }
};

std::string Quoted(const std::string& text)
{
    return "「" + text + "」";
}

bool HasNonAscii(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string SubcommandNames(const CLI::App& app)
{
    std::string names;
    for (const CLI::App* sub : app.get_subcommands({}))
        names += (names.empty() ? "" : ", ") + sub->get_name();
    return names;
}

/// One of the parser's messages and how it reads in Japanese, from the parts the pattern matched.
struct Rewording
{
    std::regex pattern;
    std::function<std::string(const std::smatch&)> text;
};

/// The text of the first rewording whose pattern matches the whole message, or `otherwise`.
std::string Reword(const std::string& message, const std::vector<Rewording>& rewordings,
                   const char* otherwise)
{
    std::smatch m;
    for (const Rewording& rewording : rewordings) {
        if (std::regex_match(message, m, rewording.pattern))
            return rewording.text(m);
    }
    return otherwise;
}

std::string DescribeValidation(const std::string& message)
{
    static const std::vector<Rewording> rewordings = {
        {std::regex(R"(^(.+): Value (.*) not in range (-?[0-9.]+) to (-?[0-9.]+)$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " には " + m[3].str() + "～" + m[4].str() + " の整数を指定して下さい（" +
                    Quoted(m[2]) + "は使えません）。";
         }},
        {std::regex(R"(^(.+): Value (.*) could not be converted.*$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " の値" + Quoted(m[2]) + "は数として読めません。";
         }},
        {std::regex(R"(^(.+): (.*) not in \{(.*)\}$)"),
         [](const std::smatch& m) {
             std::string list = m[3].str();
             std::replace(list.begin(), list.end(), ',', ' ');
             std::istringstream in(list);
             std::string choices;
             for (std::string word; in >> word;)
                 choices += (choices.empty() ? "" : "、") + word;
             return Label(m[1]) + " には " + choices + " のどれかを指定して下さい（" + Quoted(m[2]) +
                    "は使えません）。";
         }},
        {std::regex(R"(^(.+): (?:File|Directory|Path) does not exist: (.*)$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " に指定された" + Quoted(m[2]) + "が見つかりません。";
         }},
        // A check of our own already speaks Japanese; the parser's other texts are not passed on.
        {std::regex(R"(^([^:]+): (.*)$)"),
         [](const std::smatch& m) {
             return HasNonAscii(m[2]) ? Label(m[1]) + ": " + m[2].str()
                                      : Label(m[1]) + " の値が正しくありません。";
         }},
    };
    return Reword(message, rewordings, "オプションの値が正しくありません。");
}

std::string DescribeConversion(const std::string& message)
{
    static const std::vector<Rewording> rewordings = {
        {std::regex(R"(^Could not convert: (.+) = (.*)$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " の値" + Quoted(m[2]) + "は数として読めません。数字で指定して下さい。";
         }},
        {std::regex(R"(^The value (.*) is not an allowed value for (.+)$)"),
         [](const std::smatch& m) { return Label(m[2]) + " に" + Quoted(m[1]) + "は使えません。"; }},
        {std::regex(R"(^(.+): (?:too many inputs for a flag|Should be true/false or a number)$)"),
         [](const std::smatch& m) { return Label(m[1]) + " は値を取りません。"; }},
    };
    return Reword(message, rewordings, "オプションの値を読めません。");
}

std::string DescribeMismatch(const std::string& message)
{
    static const std::vector<Rewording> rewordings = {
        {std::regex(R"(^(.+): [0-9]+ required .* missing$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " の値がありません。" + Label(m[1]) + " の後に値を続けて下さい。";
         }},
        {std::regex(R"(^(.+): At Most ([0-9]+) required but received ([0-9]+)$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " は" + m[2].str() + "回まで指定できます（" + m[3].str() +
                    "回指定されました）。";
         }},
        {std::regex(R"(^(.+): At least ([0-9]+) required but received ([0-9]+)$)"),
         [](const std::smatch& m) {
             return Label(m[1]) + " には値が" + m[2].str() + "個以上必要です（" + m[3].str() + "個でした）。";
         }},
        {std::regex(R"(^Expected (?:exactly|at least) ([0-9]+) arguments to (.+), got ([0-9]+)$)"),
         [](const std::smatch& m) {
             return Label(m[2]) + " には値が" + m[1].str() + "個必要です（" + m[3].str() + "個でした）。";
         }},
    };
    return Reword(message, rewordings, "オプションの値の数が合いません。");
}

std::string DescribeExtras(const std::string& message)
{
    static const std::regex extras(R"(^The following arguments? (?:was|were) not expected: (.*)$)");
    std::smatch m;
    if (!std::regex_match(message, m, extras))
        return "余分な引数があります。";
    // The parser lists the arguments last first.
    std::istringstream in(m[1].str());
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.insert(words.begin(), word);
    std::string options;
    std::string arguments;
    for (const std::string& word : words) {
        std::string& list = word.size() > 1 && word[0] == '-' ? options : arguments;
        list += (list.empty() ? "" : "、") + Quoted(word);
    }
    std::string text;
    if (!options.empty())
        text += options + "というオプションはありません。";
    if (!arguments.empty())
        text += "余分な引数" + arguments + "があります。";
    return text;
}

std::string DescribeRequired(const std::string& message, const CLI::App& app)
{
    static const std::regex option(R"(^(.+) is required$)");
    std::smatch m;
    if (message.rfind("A subcommand", 0) == 0) {
        const std::vector<std::string> left = app.remaining();
        const auto word = std::find_if(left.begin(), left.end(),
                                       [](const std::string& arg) { return arg.empty() || arg[0] != '-'; });
        const std::string choice = "サブコマンド（" + SubcommandNames(app) + "）";
        if (word == left.end() && !left.empty())
            return Quoted(left.front()) + "というオプションはありません。" + choice +
                   "のどれかを指定して下さい。";
        if (word != left.end())
            return Quoted(*word) + "というサブコマンドはありません。" + choice + "のどれかを指定して下さい。";
        return choice + "のどれかを指定して下さい。";
    }
    if (std::regex_match(message, m, option))
        return Label(m[1]) + " を指定して下さい（必須）。";
    return "必須のオプションが指定されていません。";
}

std::string DescribeTwoOptions(const std::string& message, const std::string& verb, bool needs)
{
    const std::size_t at = message.find(verb);
    if (at == std::string::npos)
        return needs ? "一緒に必要なオプションが指定されていません。"
                     : "一緒に使えないオプションが指定されています。";
    const std::string first = message.substr(0, at);
    const std::string second = message.substr(at + verb.size());
    return needs ? Label(first) + " を使うときは " + Label(second) + " も指定して下さい。"
                 : Label(first) + " と " + Label(second) + " は一緒に指定できません。";
}

const CLI::App* ParsedSubcommand(const CLI::App& app)
{
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    return parsed.empty() ? nullptr : parsed.front();
}

struct ExitCodeText
{
    ExitCode code;
    const char* text;
};

constexpr std::array<ExitCodeText, 9> kExitCodeTexts{{
    {kExitOk, "成功"},
    {kExitFailure, "その他の失敗"},
    {kExitUsage, "オプションの誤り"},
    {kExitDataFile, "データファイルを使えない（無い、使用中、読めない）"},
    {kExitContradiction, "キャリー個数と偶数／奇数の比率の矛盾"},
    {kExitTooFewDraws, "当選番号が2回分未満"},
    {kExitNoPassingSet, "条件を満たす組み合わせが無い"},
    {kExitTooSlow, "条件を満たす組み合わせが少なすぎて時間内に出せない"},
    {kExitNoDraws, "当選番号が1回分も保存されていない"},
}};

} // namespace

std::shared_ptr<CLI::FormatterBase> MakeJapaneseFormatter()
{
    return std::make_shared<JapaneseFormatter>();
}

std::string DescribeParseError(const CLI::ParseError& error, const CLI::App& app)
{
    // The parser's text quotes what was typed; an absurdly long argument is not taken apart.
    constexpr std::size_t kLongestMessage = 2000;
    const std::string message = error.what();
    if (message.size() > kLongestMessage)
        return "引数が長すぎます。";
    if (dynamic_cast<const CLI::ValidationError*>(&error))
        return DescribeValidation(message);
    if (dynamic_cast<const CLI::ConversionError*>(&error))
        return DescribeConversion(message);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error))
        return DescribeMismatch(message);
    if (dynamic_cast<const CLI::ExtrasError*>(&error))
        return DescribeExtras(message);
    if (dynamic_cast<const CLI::RequiredError*>(&error))
        return DescribeRequired(message, app);
    if (dynamic_cast<const CLI::RequiresError*>(&error))
        return DescribeTwoOptions(message, " requires ", true);
    if (dynamic_cast<const CLI::ExcludesError*>(&error))
        return DescribeTwoOptions(message, " excludes ", false);
    if (dynamic_cast<const CLI::FileError*>(&error))
        return "ファイルを読めません。";
    return "コマンドラインを読めませんでした。";
}

std::string UsageHint(const CLI::App& app)
{
    const CLI::App* sub = ParsedSubcommand(app);
    const std::string command = app.get_name() + (sub ? " " + sub->get_name() : std::string());
    return "使い方は「" + command + " --help」で表示します。";
}

std::string ExitCodeHelp(const std::vector<ExitCode>& codes)
{
    std::string text = "終了コード:";
    for (const ExitCode code : codes) {
        const auto entry = std::find_if(kExitCodeTexts.begin(), kExitCodeTexts.end(),
                                        [code](const ExitCodeText& e) { return e.code == code; });
        text += "\n  " + std::to_string(code) + " " + (entry != kExitCodeTexts.end() ? entry->text : "");
    }
    return text;
}

std::string ExitCodeHelp()
{
    return ExitCodeHelp({kExitOk, kExitFailure, kExitUsage, kExitDataFile, kExitContradiction,
                         kExitTooFewDraws, kExitNoPassingSet, kExitTooSlow, kExitNoDraws});
}

} // namespace zentrix::cli
