// What an export writes, an import reads back whole, up to the import's
// limit; past it the export says so.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "library/qt/import.h"

namespace lib = ks::lib;

TEST(ReadBack, ExportsUpToTheImportLimitReadBackWhole)
{
    QTemporaryDir dir;
    std::vector<lib::Driver> drivers(lib::kMaxImportRows + 1, lib::ExampleDrivers()[4]);
    for (std::size_t i = 0; i < drivers.size(); ++i) drivers[i].model = std::to_string(1000000 + i);
    for (const std::size_t n : {lib::kMaxImportRows, lib::kMaxImportRows + 1}) {
        const QString path = dir.filePath(QStringLiteral("out%1.csv").arg(n));
        QString error;
        ASSERT_TRUE(lib::ExportFile(path, {drivers.begin(), drivers.begin() + std::ptrdiff_t(n)}, error));
        const lib::ImportResult back = lib::ImportFile(path);
        const QString limit = lib::ReadBackLimit(n, QFileInfo(path).size());
        if (n <= lib::kMaxImportRows) {
            EXPECT_TRUE(back.fatal.empty() && back.taken.size() == n) << back.fatal;
            EXPECT_EQ(limit, QString());
        } else {
            EXPECT_FALSE(back.fatal.empty());
            EXPECT_TRUE(limit.contains(QStringLiteral("200000"))) << limit.toStdString();
        }
    }
    EXPECT_TRUE(lib::ReadBackLimit(10, qint64(lib::kMaxImportBytes) + 1).contains(QStringLiteral("64 MiB")));
}
