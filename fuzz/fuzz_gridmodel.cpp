// Runs the input as a list of edits on a grid and on a plain table of byte arrays: resizing,
// cell writes, clearing, long runs of rewrites that make the grid compact its pool, rows taken
// from a source (which the next write turns into the grid's own) and copies of rows. After every
// edit both must hold the same texts, cells outside the grid must read empty, and every copy must
// still hold the rows as they were when it was taken.
#include "platform/gridmodel.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

using Table = std::vector<std::vector<QByteArray>>;

void resize(Table &table, int rows, int cols) {
    table.resize(size_t(rows));
    for (auto &row : table)
        row.resize(size_t(cols));
}

// A plain table as a grid's row source.
class TableSource : public GridModel::RowSource {
public:
    explicit TableSource(Table table)
        : m_table(std::move(table)) {}
    int rows() const override { return int(m_table.size()); }
    QByteArrayView cell(int row, int col) const override {
        const std::vector<QByteArray> &cells = m_table[size_t(row)];
        return col >= 0 && col < int(cells.size()) ? QByteArrayView(cells[size_t(col)])
                                                   : QByteArrayView();
    }

private:
    Table m_table;
};

// A copy of rows and the texts it must hold.
struct Copy {
    GridRows rows;
    Table texts;
    int cols = 0;
};

void requireCopy(const Copy &copy) {
    const int cols = copy.cols;
    require(copy.rows.rows() == int(copy.texts.size()));
    for (int row = -1; row <= copy.rows.rows(); ++row) {
        for (int col = -1; col <= cols; ++col) {
            const bool inside = row >= 0 && row < copy.rows.rows() && col >= 0 && col < cols;
            require(copy.rows.cell(row, col) ==
                    (inside ? copy.texts[size_t(row)][size_t(col)] : QByteArray()));
        }
    }
}

void requireSame(const GridModel &grid, const Table &table, int cols) {
    require(grid.rows() == int(table.size()) && grid.cols() == cols);
    for (int row = -1; row <= grid.rows(); ++row) {
        for (int col = -1; col <= cols; ++col) {
            const bool inside = row >= 0 && row < grid.rows() && col >= 0 && col < cols;
            require(grid.cellBytes(row, col) ==
                    (inside ? table[size_t(row)][size_t(col)] : QByteArray()));
        }
    }
}

// Reads the input a byte at a time; past its end every byte is 0.
struct Input {
    const uint8_t *data;
    size_t size;
    int next() { return size ? (--size, *data++) : 0; }
    QByteArray text(int length) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i)
            bytes.append(char(next()));
        return bytes;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Input input{data, size};
    GridModel grid;
    Table table;
    int cols = 0;
    Copy copy; // the last copy taken
    while (input.size) {
        const int edit = input.next() % 7;
        const int row = input.next() % 12, col = input.next() % 8;
        if (edit == 0) {
            grid.setRows(row);
            resize(table, row, cols);
        } else if (edit == 1) {
            cols = col;
            grid.setCols(cols);
            resize(table, int(table.size()), cols);
        } else if (edit == 2) {
            // Up to 300 bytes: lengths of one and of two bytes.
            const QByteArray text = input.text(input.next() * 300 / 255);
            grid.setText(row, col, QString::fromLatin1(text));
            if (grid.rows() > row && cols > col)
                table[size_t(row)][size_t(col)] = text;
        } else if (edit == 3) {
            // The table's first rows as a source, numbered cells in columns it lacked; the grid
            // shows only as many columns as it has.
            Table source = table;
            resize(source, row, col);
            for (size_t r = 0; r < source.size(); ++r) {
                for (size_t c = size_t(std::min(cols, col)); c < size_t(col); ++c)
                    source[r][c] = QByteArray::number(r * 8 + c);
            }
            grid.setRowSource(std::make_shared<TableSource>(source));
            table = source;
            resize(table, row, cols);
        } else if (edit == 4) {
            grid.clear();
            resize(table, 0, cols);
            resize(table, grid.rows(), cols);
        } else if (edit == 5) {
            QList<int> rows; // out-of-range rows are left out
            for (int n = input.next() % 5; n > 0; --n)
                rows.append(input.next() % 14 - 1);
            copy = {grid.copyRows(rows), {}, cols};
            for (int at : rows) {
                if (at >= 0 && at < int(table.size()))
                    copy.texts.push_back(table[size_t(at)]);
            }
        } else {
            for (int i = 0; i < 1000; ++i)
                grid.setText(row, col, QString::number(i));
            if (grid.rows() > row && cols > col)
                table[size_t(row)][size_t(col)] = "999";
        }
        requireSame(grid, table, cols);
        requireCopy(copy);
    }
    return 0;
}
