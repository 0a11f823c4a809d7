// BatchListModel: the saved batches with their scores as rows of a table, newest first by default.
#pragma once

#include "predictions/BatchScore.h"
#include "predictions/PredictionStore.h"

#include <QAbstractTableModel>
#include <vector>

namespace zentrix::ui {

/// One listed batch: everything but its sets, and what they came to.
struct BatchRow
{
    BatchHeader header;
    BatchScore score;
};

/**
 * Holds every batch's header and score (small even for 10,000 batches) and hands the view rows in
 * pages as it scrolls (canFetchMore/fetchMore), so a long history opens at once. Sorting by a
 * column and filtering by the predicted draw happen here, over all rows, not only the fetched ones.
 */
class BatchListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Id,
        Created,
        Draw,
        Sets,
        Source,
        Best,
        Tiers,
        Cost,
        FifthPrize,
        Settings,
        ColumnCount
    };

    /// Rows the view gets per fetch.
    static constexpr int kPageSize = 200;

    explicit BatchListModel(QObject* parent = nullptr);

    /// Replaces every row (as read newest first) and applies the current order and filter.
    void setRows(std::vector<BatchRow> rows);
    /// 0 shows every draw.
    void setDrawFilter(int draw);
    int drawFilter() const { return m_drawFilter; }

    /// The batch shown in `row`, nullptr outside the rows.
    const BatchRow* batchAt(int row) const;
    /// The row showing batch `id`, fetching pages up to it; -1 when it is filtered out or gone.
    int rowOf(std::int64_t id);
    /// Rows that pass the filter, fetched or not.
    int matchingRows() const { return static_cast<int>(m_shown.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void rebuild();

    std::vector<BatchRow> m_rows;     ///< newest first, as read
    std::vector<std::size_t> m_shown; ///< indexes into m_rows in display order, filtered
    int m_fetched = 0;
    int m_drawFilter = 0;
    int m_sortColumn = Id;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};

} // namespace zentrix::ui
