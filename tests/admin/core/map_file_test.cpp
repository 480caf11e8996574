#include "admin/core/map_file.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QTemporaryDir>

#include "tests/admin/core/read_file.h"

namespace orvane::admin {
namespace {

const std::string kHyphens(75, '-');

TEST(MapFile, HoldsPortHeaderRowsEmptyLineAndHyphens) {
  const std::vector<std::string> rows = {
      "*  5(05H)   7215      9600        V        +/- 10V         ",
      "  12(0CH)   7451      19200                 Digital I/O",
  };
  EXPECT_EQ(mapFileText(3, rows), "COMPORT: COM3\r\n" + kHyphens + "\r\n" +
                                      "Address     Model    BaudRate    Format    Remark\r\n" +
                                      rows[0] + "\r\n" + rows[1] + "\r\n" + "\r\n" + kHyphens +
                                      "\r\n");
}

TEST(MapFile, EmptyListStillHasTheEmptyLine) {
  EXPECT_EQ(mapFileText(1, {}), "COMPORT: COM1\r\n" + kHyphens + "\r\n" +
                                    "Address     Model    BaudRate    Format    Remark\r\n\r\n" +
                                    kHyphens + "\r\n");
}

TEST(MapFile, WritingReplacesAnExistingFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("net.map")).toStdString();
  writeMapFile(path, 2, {"  1(01H)   7215  ", "  2(02H)   7216  "});
  writeMapFile(path, 2, {"  9(09H)   7342  "});
  EXPECT_EQ(testing::readFile(path), mapFileText(2, {"  9(09H)   7342  "}));
}

TEST(MapFile, PrintsRowsIntoAPdf) {
  QTemporaryDir dir;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = dir.filePath(QStringLiteral("rows.pdf"));
  printer.setOutputFileName(path);
  std::vector<std::string> rows(120, "  1(01H)   7215      9600");  // more than one page
  rows.emplace_back();
  ASSERT_TRUE(printRows(printer, rows));
  const std::string pdf = testing::readFile(path.toStdString());
  ASSERT_GT(pdf.size(), 500u);
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/Count 2"), std::string::npos) << "120 rows fill two pages";
}

}  // namespace
}  // namespace orvane::admin
