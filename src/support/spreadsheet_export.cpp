#include "support/spreadsheet_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pelko {

namespace {

// Counts UTF-8 characters, and cuts at a character boundary.
std::string CutUtf8(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

void Check(lxw_error error, const char* what) {
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(std::string(what) + ": " + lxw_strerror(error));
}

class TWorkbook {
  public:
    explicit TWorkbook(const std::filesystem::path& file) {
        lxw_workbook_options options{};
        // Rows go straight to a temporary file instead of memory.
        options.constant_memory = LXW_TRUE;
        book_ = workbook_new_opt(file.c_str(), &options);
        if (!book_) throw std::runtime_error("Не удалось создать файл \"" + file.string() + "\"");
    }
    ~TWorkbook() {
        if (book_) workbook_close(book_); // after a failure: frees what is left
    }
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;

    lxw_workbook* Get() { return book_; }
    void Close() {
        lxw_workbook* book = book_;
        book_ = nullptr;
        Check(workbook_close(book), "Ошибка записи книги");
    }

  private:
    lxw_workbook* book_ = nullptr;
};

lxw_worksheet* AddSheet(lxw_workbook* book, const TSheetTable& table, int part,
                        lxw_format* titleFormat, lxw_format* headerFormat) {
    const std::string name = SheetName(table.Title, part);
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.c_str());
    if (!sheet) throw std::runtime_error("Не удалось добавить лист \"" + name + "\"");
    const auto columns = static_cast<lxw_col_t>(table.Columns.size());
    for (lxw_col_t c = 0; c < columns; ++c)
        worksheet_set_column(sheet, c, c, table.Columns[c].Width, nullptr);
    Check(worksheet_write_string(sheet, 0, 0, table.Title.c_str(), titleFormat), "Ошибка записи");
    for (lxw_col_t c = 0; c < columns; ++c)
        Check(worksheet_write_string(sheet, 1, c, table.Columns[c].Header.c_str(), headerFormat),
              "Ошибка записи");
    worksheet_freeze_panes(sheet, 2, 0);
    return sheet;
}

} // namespace

std::string SheetName(const std::string& title, int part) {
    std::string name;
    for (char ch : title)
        name += std::string_view("[]:*?/\\").find(ch) == std::string_view::npos ? ch : ' ';
    if (name.empty()) name = "Лист";
    const std::string suffix = part > 1 ? " (" + std::to_string(part) + ")" : std::string();
    return CutUtf8(name, 31 - suffix.size()) + suffix;
}

void WriteSpreadsheet(const std::filesystem::path& file, const TSheetTable& table,
                      const std::function<void(std::size_t, std::size_t)>& progress) {
    TWorkbook book(file);
    lxw_format* titleFormat = workbook_add_format(book.Get());
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 14);
    lxw_format* headerFormat = workbook_add_format(book.Get());
    format_set_bold(headerFormat);
    format_set_bg_color(headerFormat, 0xDDDDDD);
    format_set_border(headerFormat, LXW_BORDER_THIN);

    const std::size_t step = std::max<std::size_t>(1, table.RowCount / 100);
    std::vector<TSheetCell> cells(table.Columns.size());
    lxw_worksheet* sheet = AddSheet(book.Get(), table, 1, titleFormat, headerFormat);
    int part = 1;
    std::size_t sheetRow = 0;
    for (std::size_t row = 0; row < table.RowCount; ++row, ++sheetRow) {
        if (sheetRow == SHEET_DATA_ROWS) {
            sheet = AddSheet(book.Get(), table, ++part, titleFormat, headerFormat);
            sheetRow = 0;
        }
        for (auto& cell : cells)
            cell = TSheetCell{};
        table.FillRow(row, cells);
        const auto r = static_cast<lxw_row_t>(sheetRow + 2);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            if (cells[c].IsNumber)
                Check(worksheet_write_number(sheet, r, col, cells[c].Number, nullptr),
                      "Ошибка записи");
            else if (!cells[c].Text.empty())
                Check(worksheet_write_string(sheet, r, col, cells[c].Text.c_str(), nullptr),
                      "Ошибка записи");
        }
        if (progress && (row + 1) % step == 0) progress(row + 1, table.RowCount);
    }
    book.Close();
}

} // namespace pelko
