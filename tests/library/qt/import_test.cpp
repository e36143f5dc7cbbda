// Driver databases that are hostile or unusual, each read in time linear in its size, in the encoding it names,
// or refused whole; and the largest exports.
#include "library/qt/import.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "common/files.h"

namespace {

QByteArray Speakers(const QByteArray& vendor, int extraAttributes = 0, const QByteArray& prolog = {})
{
    QByteArray x = prolog + "<speakers>\n<speaker vendor=\"" + vendor + "\" model=\"M\" fs=\"40\" qts=\".4\" re=\"6\"";
    for (int i = 0; i < extraAttributes; ++i) x += " x" + QByteArray::number(i) + "=\"1\"";
    return x + "/>\n</speakers>\n";
}

QByteArray Wide(QStringConverter::Encoding e, const QByteArray& utf8, bool mark)
{
    return QStringEncoder(e, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default)
        .encode(QString::fromUtf8(utf8));
}

}  // namespace

TEST(XmlImport, ReadsInItsEncodingOrRefusesWhole)
{
    const struct {
        QByteArray xml;
        const char* vendorOrFatal;  // the one driver's maker, or a part of the reason
    } cases[] = {
        // The reader checks each attribute against every one before it: 200,000 of them would take minutes.
        {Speakers("V", 59), "V"},
        {Speakers("V", 60), "more than 64 attributes at line 2"},
        {Speakers("V", 200000), "more than 64 attributes at line 2"},
        {Speakers("V", 0, "<!DOCTYPE s [<!ATTLIST speaker x CDATA \"1\">]>"), "declares attribute lists"},
        {Wide(QStringConverter::Utf16LE, Speakers("Bj\xC3\xB6rn"), true), "Bj\xC3\xB6rn"},
        {Wide(QStringConverter::Utf16BE, Speakers("Bj\xC3\xB6rn"), false), "Bj\xC3\xB6rn"},
        {Speakers("Bj\xF6rn", 0, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"), "Bj\xC3\xB6rn"},
        {Speakers("V", 0, "<?xml version='1.0' encoding='X-NONE-7'?>"), "the encoding X-NONE-7 is not supported"},
        {Speakers("Bj\xF6rn"), "not valid UTF-8"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        ASSERT_TRUE(kt::WriteBytes(dir.filePath("db.xml"), c.xml));
        const ks::lib::ImportResult r = ks::lib::ImportFile(dir.filePath("db.xml"));
        const std::string got = r.taken.size() == 1 ? r.taken[0].model : r.fatal;
        EXPECT_NE(got.find(c.vendorOrFatal), std::string::npos) << got;
        EXPECT_EQ(r.taken.size() + !r.fatal.empty(), 1u) << c.vendorOrFatal;  // a driver or the reason
    }
}

// What an export writes, an import reads back whole up to the import's
// limit; past it the export says so.
TEST(ReadBack, ExportsUpToTheImportLimitReadBackWhole)
{
    namespace lib = ks::lib;
    QTemporaryDir dir;
    std::vector<lib::Driver> drivers(lib::kMaxImportRows + 1, lib::ExampleDrivers()[4]);
    for (std::size_t i = 0; i < drivers.size(); ++i) drivers[i].model = std::to_string(1000000 + i);
    for (const std::size_t n : {lib::kMaxImportRows, lib::kMaxImportRows + 1}) {
        const QString path = dir.filePath(QString::number(n));
        QString error;
        ASSERT_TRUE(lib::ExportFile(path, {drivers.begin(), drivers.begin() + std::ptrdiff_t(n)}, error));
        const bool whole = lib::ImportFile(path).taken.size() == n;
        EXPECT_EQ(whole, n <= lib::kMaxImportRows);
        EXPECT_EQ(lib::ReadBackLimit(n, QFileInfo(path).size()).contains("at most 200000"), !whole);
    }
    EXPECT_TRUE(lib::ReadBackLimit(10, qint64(lib::kMaxImportBytes) + 1).contains("64 MiB"));
}
