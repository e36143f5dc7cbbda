// Driver database XML files that are hostile or merely unusual: each is read
// in time linear in its size, in the encoding it names, or refused whole
// with the reason.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

#include "library/qt/import.h"

namespace lib = ks::lib;

namespace {

QByteArray Speakers(const QByteArray& vendor, int extraAttributes = 0, const QByteArray& prolog = {})
{
    QByteArray x =
        prolog + "<speakers>\n<speaker vendor=\"" + vendor + "\" model=\"M1\" fs=\"40\" qts=\"0.4\" re=\"6\"";
    for (int i = 0; i < extraAttributes; ++i) x += " x" + QByteArray::number(i) + "=\"1\"";
    return x + "/>\n</speakers>\n";
}

QByteArray Encoded(QStringConverter::Encoding e, const QByteArray& utf8, bool bom)
{
    QStringEncoder enc(e, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return enc.encode(QString::fromUtf8(utf8));
}

}  // namespace

TEST(XmlImport, ReadsOrRefusesWhole)
{
    const QByteArray bomb =
        "<!DOCTYPE s [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n";
    struct Case {
        const char* what;
        QByteArray xml;
        const char* vendor;  // the one driver's maker, or nullptr
        const char* fatal;   // a part of the reason the file is refused
    };
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
    const Case cases[] = {
        // One element's attributes: the reader's check of each against all
        // before it would take minutes for 200,000 of them.
        {"64 attributes", Speakers("V", 59), "V", nullptr},
        {"65 attributes", Speakers("V", 60), nullptr, "more than 64 attributes at line 2"},
        {"200,000 attributes", Speakers("V", 200000), nullptr, "more than 64 attributes at line 2"},
        {"an attribute list", Speakers("V", 0, "<!DOCTYPE s [<!ATTLIST speaker x1 CDATA \"1\">]>\n"), nullptr,
         "declares attribute lists"},
        {"an internal entity", Speakers("&v;", 0, "<!DOCTYPE s [<!ENTITY v \"Ent\">]>\n"), "Ent", nullptr},
        {"an entity bomb", Speakers("&c;", 0, bomb), nullptr, "expansion limit"},
        {"an external entity", Speakers("&e;", 0, "<!DOCTYPE s [<!ENTITY e SYSTEM \"/etc/hostname\">]>\n"), nullptr,
         "not well-formed"},
        // Encodings: the mark, the first character or the declaration.
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + Speakers("Bj\xC3\xB6rn"), "Bj\xC3\xB6rn", nullptr},
        {"UTF-16LE with its mark", Encoded(QStringConverter::Utf16LE, Speakers("Bj\xC3\xB6rn"), true), "Bj\xC3\xB6rn",
         nullptr},
        {"UTF-16BE without a mark", Encoded(QStringConverter::Utf16BE, Speakers("Bj\xC3\xB6rn"), false), "Bj\xC3\xB6rn",
         nullptr},
        {"declared Latin-1", Speakers("Bj\xF6rn", 0, latin1), "Bj\xC3\xB6rn", nullptr},
        {"a name Qt does not know", Speakers("V", 0, "<?xml version='1.0' encoding='X-UNKNOWN-7'?>\n"), nullptr,
         "encoding X-UNKNOWN-7 is not supported"},
        {"broken UTF-8", Speakers("Bj\xF6rn"), nullptr, "not valid UTF-8"},
        // An 8-bit declaration of UTF-16 with UTF-16 behind it: what is
        // parsed is what was checked, all of it in the one encoding.
        {"UTF-16 behind an 8-bit declaration",
         "<?xml version=\"1.0\" encoding=\"UTF-16LE\"?>" +
             Encoded(QStringConverter::Utf16LE, Speakers("V", 20000), false),
         nullptr, ""},
    };
    for (const Case& c : cases) {
        const lib::ImportResult r = lib::ImportQspeakersXml(c.xml);
        if (c.fatal) {
            EXPECT_FALSE(r.fatal.empty()) << c.what;
            EXPECT_NE(r.fatal.find(c.fatal), std::string::npos) << c.what << ": " << r.fatal;
            EXPECT_TRUE(r.taken.empty()) << c.what;
        } else {
            ASSERT_EQ(r.taken.size(), 1u) << c.what << ": " << r.fatal;
            EXPECT_EQ(r.taken[0].model, std::string(c.vendor) + " M1") << c.what;
        }
    }
}

// A file in UTF-16 is read as XML, not refused as a CSV file.
TEST(XmlImport, WideFilesAreXml)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("db.xml"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Encoded(QStringConverter::Utf16BE, Speakers("Wide"), true));
    f.close();
    const lib::ImportResult r = lib::ImportFile(f.fileName());
    ASSERT_EQ(r.taken.size(), 1u) << r.fatal;
    EXPECT_EQ(r.taken[0].model, "Wide M1");
}
