// Runs the input as a list of edits on a grid and on a plain table of byte arrays: resizing,
// cell and row writes (also from cells of the grid itself, which point into its moving pool),
// clearing and long runs of rewrites that make the grid compact its pool. After every edit both
// must hold the same texts, and cells outside the grid must read empty.
#include "platform/gridmodel.h"

#include <cstdint>
#include <cstdlib>
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
    while (input.size) {
        const int edit = input.next() % 6;
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
            // Another row's cells, read from the grid, written over this one.
            const int from = input.next() % 12;
            std::vector<QByteArrayView> cells(size_t(input.next() % 10));
            grid.rowCells(from, cells);
            std::vector<QByteArray> copied;
            for (QByteArrayView cell : cells)
                copied.push_back(cell.toByteArray());
            grid.writeRow(row, cells);
            if (grid.rows() > row) {
                copied.resize(size_t(cols));
                table[size_t(row)] = copied;
            }
        } else if (edit == 4) {
            grid.clear();
            resize(table, 0, cols);
            resize(table, grid.rows(), cols);
        } else {
            for (int i = 0; i < 1000; ++i)
                grid.setText(row, col, QString::number(i));
            if (grid.rows() > row && cols > col)
                table[size_t(row)][size_t(col)] = "999";
        }
        requireSame(grid, table, cols);
    }
    return 0;
}
