// ChartSvg: hand-written SVG, one rect per bar.
#include "analysis/ChartSvg.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zentrix::analysis {
namespace {

constexpr int kLeft = 80;
constexpr int kTop = 56;
constexpr int kRight = 24;
constexpr int kPlotHeight = 300;
constexpr int kMinPitch = 18;

/// Columns a label takes: 1 for an ASCII character, 2 for any other (Japanese) character.
std::size_t LabelWidth(std::string_view label)
{
    std::size_t width = 0;
    for (const char c : label) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            width += 1;
        else if (byte >= 0xC0)
            width += 2;
    }
    return width;
}

std::string Number(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

} // namespace

std::string EscapeXmlText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

ChartScale ScaleFor(const ChartData& chart)
{
    double largest = chart.reference.value_or(0);
    for (const ChartBar& bar : chart.bars)
        largest = std::max(largest, bar.value);
    if (largest <= 0)
        return {1, 1};
    // A step of 1, 2 or 5 times a power of ten giving four to ten ticks.
    const double magnitude = std::pow(10.0, std::floor(std::log10(largest)));
    double step = magnitude;
    for (const double factor : {0.1, 0.2, 0.5, 1.0, 2.0}) {
        step = magnitude * factor;
        if (largest / step <= 10)
            break;
    }
    step = std::max(step, 1.0);
    return {std::ceil(largest / step) * step, step};
}

std::string ChartSvg(const ChartData& chart)
{
    const int count = std::max<int>(1, int(chart.bars.size()));
    std::size_t longest = 0;
    for (const ChartBar& bar : chart.bars)
        longest = std::max(longest, LabelWidth(bar.label));
    const bool turned = longest > 3;
    const int pitch = std::max(kMinPitch, turned ? 28 : int(longest) * 8 + 6);
    const int plotWidth = pitch * count;
    const int labelSpace = turned ? 60 : 24;
    const int width = kLeft + plotWidth + kRight;
    const int height = kTop + kPlotHeight + labelSpace + 36;
    const int baseline = kTop + kPlotHeight;
    const ChartScale scale = ScaleFor(chart);
    const auto y = [&](double value) { return baseline - value / scale.top * kPlotHeight; };

    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height << "\" font-family=\"sans-serif\">\n"
        << "  <title>" << EscapeXmlText(chart.title) << "</title>\n"
        << "  <rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "  <text x=\"" << width / 2 << "\" y=\"26\" font-size=\"15\" text-anchor=\"middle\">"
        << EscapeXmlText(chart.title) << "</text>\n";
    for (double tick = 0; tick <= scale.top + 1e-9; tick += scale.step) {
        svg << "  <line x1=\"" << kLeft << "\" y1=\"" << Number(y(tick)) << "\" x2=\"" << kLeft + plotWidth
            << "\" y2=\"" << Number(y(tick)) << "\" stroke=\"#dddddd\"/>\n"
            << "  <text x=\"" << kLeft - 6 << "\" y=\"" << Number(y(tick) + 4)
            << "\" font-size=\"11\" text-anchor=\"end\">" << Number(tick) << "</text>\n";
    }
    svg << "  <line x1=\"" << kLeft << "\" y1=\"" << kTop << "\" x2=\"" << kLeft << "\" y2=\"" << baseline
        << "\" stroke=\"black\"/>\n"
        << "  <line x1=\"" << kLeft << "\" y1=\"" << baseline << "\" x2=\"" << kLeft + plotWidth << "\" y2=\""
        << baseline << "\" stroke=\"black\"/>\n";
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const ChartBar& bar = chart.bars[i];
        const int x = kLeft + int(i) * pitch + pitch / 6;
        const int barWidth = pitch - pitch / 3;
        const double top = y(bar.value);
        svg << "  <rect x=\"" << x << "\" y=\"" << Number(top) << "\" width=\"" << barWidth << "\" height=\""
            << Number(baseline - top) << "\" fill=\"steelblue\"><title>" << EscapeXmlText(bar.label) << ": "
            << Number(bar.value) << "</title></rect>\n";
        const int cx = x + barWidth / 2;
        if (turned)
            svg << "  <text x=\"" << cx << "\" y=\"" << baseline + 12
                << "\" font-size=\"10\" text-anchor=\"end\""
                << " transform=\"rotate(-45 " << cx << ' ' << baseline + 12 << ")\">"
                << EscapeXmlText(bar.label) << "</text>\n";
        else
            svg << "  <text x=\"" << cx << "\" y=\"" << baseline + 16
                << "\" font-size=\"10\" text-anchor=\"middle\">" << EscapeXmlText(bar.label) << "</text>\n";
    }
    if (chart.reference) {
        const double ry = y(*chart.reference);
        svg << "  <line x1=\"" << kLeft << "\" y1=\"" << Number(ry) << "\" x2=\"" << kLeft + plotWidth
            << "\" y2=\"" << Number(ry) << "\" stroke=\"firebrick\" stroke-dasharray=\"6 4\"/>\n"
            << "  <text x=\"" << kLeft + plotWidth << "\" y=\"" << Number(ry - 4)
            << "\" font-size=\"11\" fill=\"firebrick\" text-anchor=\"end\""
            << " stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">"
            << EscapeXmlText(chart.referenceLabel) << "</text>\n";
    }
    svg << "  <text x=\"" << kLeft + plotWidth / 2 << "\" y=\"" << height - 10
        << "\" font-size=\"12\" text-anchor=\"middle\">" << EscapeXmlText(chart.xTitle) << "</text>\n"
        << "  <text x=\"18\" y=\"" << kTop + kPlotHeight / 2 << "\" font-size=\"12\" text-anchor=\"middle\""
        << " transform=\"rotate(-90 18 " << kTop + kPlotHeight / 2 << ")\">" << EscapeXmlText(chart.yTitle)
        << "</text>\n"
        << "</svg>\n";
    return svg.str();
}

} // namespace zentrix::analysis
