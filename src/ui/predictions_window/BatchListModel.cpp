// BatchListModel: sorting, filtering and paged fetching over the listed batches.
#include "ui/predictions_window/BatchListModel.h"

#include "generator/SettingsDescription.h"
#include "predictions/PredictionReport.h"

#include <algorithm>

namespace zentrix::ui {
namespace {

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

/// Higher is better: 1等 is 5, はずれ 0, not yet drawn -1.
int BestRank(const BatchScore& score)
{
    return score.scored ? kPrizeKinds - 1 - static_cast<int>(score.tally.best()) : -1;
}

} // namespace

BatchListModel::BatchListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void BatchListModel::setRows(std::vector<BatchRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    rebuild();
    endResetModel();
}

void BatchListModel::setDrawFilter(int draw)
{
    beginResetModel();
    m_drawFilter = draw;
    rebuild();
    endResetModel();
}

void BatchListModel::rebuild()
{
    m_shown.clear();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_drawFilter <= 0 || m_rows[i].header.draw == m_drawFilter)
            m_shown.push_back(i);
    }
    const auto key = [this](std::size_t i) -> std::pair<long long, long long> {
        const BatchRow& row = m_rows[i];
        switch (m_sortColumn) {
        case Draw:
            return {row.header.draw, row.header.id};
        case Sets:
            return {row.score.tally.sets, row.header.id};
        case Best:
        case Tiers:
            return {BestRank(row.score), row.header.id};
        case Cost:
            return {row.score.tally.costYen(), row.header.id};
        case FifthPrize:
            return {row.score.tally.fifthPrizeYen(), row.header.id};
        case Created:
            return {row.header.createdAt, row.header.id};
        default:
            return {row.header.id, 0};
        }
    };
    std::stable_sort(m_shown.begin(), m_shown.end(), [&](std::size_t a, std::size_t b) {
        return m_sortOrder == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
    });
    m_fetched = std::min<int>(kPageSize, static_cast<int>(m_shown.size()));
}

const BatchRow* BatchListModel::batchAt(int row) const
{
    if (row < 0 || row >= m_fetched)
        return nullptr;
    return &m_rows[m_shown[static_cast<std::size_t>(row)]];
}

int BatchListModel::rowOf(std::int64_t id)
{
    for (std::size_t r = 0; r < m_shown.size(); ++r) {
        if (m_rows[m_shown[r]].header.id != id)
            continue;
        while (m_fetched <= static_cast<int>(r))
            fetchMore({});
        return static_cast<int>(r);
    }
    return -1;
}

int BatchListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_fetched;
}

int BatchListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BatchListModel::data(const QModelIndex& index, int role) const
{
    const BatchRow* row = batchAt(index.row());
    if (!row)
        return {};
    const BatchScore& score = row->score;
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == Id || index.column() == Draw || index.column() == Sets ||
                            index.column() == Cost || index.column() == FifthPrize;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Id:
        return QString::number(row->header.id);
    case Created:
        return Text(FormatLocalTime(row->header.createdAt));
    case Draw:
        return QStringLiteral("第%1回").arg(row->header.draw);
    case Sets:
        return QString::number(score.tally.sets);
    case Source:
        return Text(SourceName(row->header.source));
    case Best:
        return score.scored ? Text(std::string(PrizeName(score.tally.best()))) : QStringLiteral("-");
    case Tiers:
        return Text(TierSummary(score));
    case Cost:
        return Text(YenText(score.tally.costYen()));
    case FifthPrize:
        return score.scored ? Text(YenText(score.tally.fifthPrizeYen())) : QStringLiteral("-");
    case Settings:
        return Text(DescribeMaking(row->header.source, row->header.settings, row->header.note));
    default:
        return {};
    }
}

QVariant BatchListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kTitles[ColumnCount] = {"No.",  "日時", "予想回", "組数",    "作成",
                                                     "最高", "結果", "購入額", "5等賞金", "設定"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kTitles[section]) : QVariant();
}

void BatchListModel::sort(int column, Qt::SortOrder order)
{
    beginResetModel();
    m_sortColumn = column;
    m_sortOrder = order;
    rebuild();
    endResetModel();
}

bool BatchListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_fetched < static_cast<int>(m_shown.size());
}

void BatchListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    const int more = std::min<int>(kPageSize, static_cast<int>(m_shown.size()) - m_fetched);
    if (more <= 0)
        return;
    beginInsertRows({}, m_fetched, m_fetched + more - 1);
    m_fetched += more;
    endInsertRows();
}

} // namespace zentrix::ui
