// WheelMessages: prize names, guarantee labels and the request error texts.
#include "wheel/WheelMessages.h"

#include <cstdio>

namespace zentrix::wheel {

std::string PrizeName(int match)
{
    switch (match) {
    case 6:
        return "1等";
    case 5:
        return "3等";
    case 4:
        return "4等";
    case 3:
        return "5等";
    default:
        return "当選なし";
    }
}

std::string GuaranteeLabel(const Guarantee& g)
{
    return std::to_string(g.drawn) + "個一致で" + PrizeName(g.match) + "を保証（" + std::to_string(g.match) +
           " if " + std::to_string(g.drawn) + "）";
}

std::string RequestErrorMessage(RequestError error)
{
    switch (error) {
    case RequestError::None:
        return {};
    case RequestError::NumberOutOfRange:
        return "数字は1から43までで指定してください。";
    case RequestError::DuplicateNumber:
        return "同じ数字が2回指定されています。";
    case RequestError::TooFewPicks:
        return "数字を" + std::to_string(kMinPicks) + "個以上選んでください。";
    case RequestError::TooManyPicks:
        return "選べる数字は" + std::to_string(kMaxPicks) + "個までです。";
    case RequestError::BadGuarantee:
        return "保証は「一致数/当選数」で、3 ≦ 一致数 ≦ 当選数 ≦ 6、一致数 ≦ 5 の範囲で指定してください"
               "（例: 3/3, 4/5）。";
    case RequestError::KeyNotPicked:
        return "軸数字は選んだ数字の中から指定してください。";
    case RequestError::TooManyKeys:
        return "軸数字は保証の一致数より少なくしてください。";
    }
    return "指定に誤りがあります。";
}

std::string GroupDigits(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits;
}

std::string TicketsAndCost(std::size_t tickets)
{
    return GroupDigits(tickets) + "枚（" + GroupDigits(std::uint64_t(tickets) * kTicketPrice) + "円）";
}

std::string PercentText(double chance)
{
    char text[32];
    std::snprintf(text, sizeof text, chance >= 0.01 ? "%.2f%%" : "%.4f%%", chance * 100.0);
    return text;
}

std::string SourceNote(bool fromTable)
{
    return fromTable ? "Zentrix に組み込みの組み合わせ（前もって長時間の探索で見つけたもの）です。" : "";
}

} // namespace zentrix::wheel
