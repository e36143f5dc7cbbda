// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/qt/import.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <cmath>

#include "support/qt/save_file.h"

namespace ks::lib {
namespace {

// A converted value as text; ten significant digits drop the noise a
// unit factor adds (0.0729 m² × 10000 stays 729 cm²).
std::string Converted(double v) { return NumberText(QString::number(v, 'g', 10).toDouble()); }

// The file as text, in the encoding its byte order mark, its first
// character or its declaration names (UTF-8 without any); empty with fatal
// set when it is not valid text in that encoding. Decoded here, so what the
// reader parses is exactly what is checked below.
QString Decoded(const QByteArray& bytes, std::string& fatal)
{
    std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(bytes, u'<');
    if (!encoding) {
        static const QRegularExpression declared(
            QStringLiteral(R"(^<\?xml[^>]*\sencoding\s*=\s*["']([A-Za-z0-9._-]{1,40})["'])"));
        const QRegularExpressionMatch m = declared.match(QString::fromLatin1(bytes.left(200)));
        const QByteArray name = m.hasMatch() ? m.captured(1).toLatin1() : QByteArray("UTF-8");
        encoding = QStringConverter::encodingForName(name.constData());
        if (!encoding) {
            fatal = "the encoding " + name.toStdString() + " is not supported";
            return {};
        }
    }
    QStringDecoder decoder(*encoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        fatal = std::string("the file is not valid ") + QStringConverter::nameForEncoding(*encoding) + " text";
        return {};
    }
    return text;
}

// The reader compares each attribute of an element with every one before
// it, so one element of 200,000 attributes would take minutes. No element
// holds a '<', so the '=' between two '<' bound its attributes: the line
// where a run of more than kMaxAttributes starts, or 0.
constexpr int kMaxAttributes = 64;
int CrowdedElementLine(QStringView text)
{
    int line = 1, startLine = 1, equals = 0;
    for (const QChar c : text) {
        if (c == u'\n') {
            ++line;
        } else if (c == u'<') {
            equals = 0;
            startLine = line;
        } else if (c == u'=' && ++equals > kMaxAttributes) {
            return startLine;
        }
    }
    return 0;
}

}  // namespace

ImportResult ImportQspeakersXml(const QByteArray& bytes)
{
    ImportResult r;
    if (std::size_t(bytes.size()) > kMaxImportBytes) {
        r.fatal = "the file is larger than 64 MiB";
        return r;
    }
    struct Unit {
        const char* attr;
        Field field;
        double factor;
    };
    static const Unit kUnits[] = {
        {"dia", Field::Dia, 100.0}, {"fs", Field::Fs, 1.0},     {"vas", Field::Vas, 1.0}, {"qts", Field::Qts, 1.0},
        {"qes", Field::Qes, 1.0},   {"qms", Field::Qms, 1.0},   {"re", Field::Re, 1.0},   {"pe", Field::Pemax, 1.0},
        {"sd", Field::Sd, 10000.0}, {"xmax", Field::Xmax, 1.0}, {"le", Field::Le, 1.0},
    };
    const QString text = Decoded(bytes, r.fatal);
    if (!r.fatal.empty()) return r;
    if (const int line = CrowdedElementLine(text)) {
        r.fatal = "an element with more than " + std::to_string(kMaxAttributes) + " attributes at line " +
                  std::to_string(line);
        return r;
    }
    QXmlStreamReader x(text);
    std::size_t rows = 0;
    while (!x.atEnd()) {
        const QXmlStreamReader::TokenType token = x.readNext();
        // Declared attributes are looked up on every element: a long list of
        // them costs each element its length. A driver database has none.
        if (token == QXmlStreamReader::DTD && x.text().contains(QLatin1String("<!ATTLIST"))) {
            r.fatal = "the file declares attribute lists (line " + std::to_string(x.lineNumber()) + ")";
            r.taken.clear();
            return r;
        }
        if (token != QXmlStreamReader::StartElement || x.name() != QLatin1String("speaker")) continue;
        const int line = int(x.lineNumber());
        if (++rows > kMaxImportRows) {
            r.fatal = "more than " + std::to_string(kMaxImportRows) + " drivers";
            r.taken.clear();
            return r;
        }
        const QXmlStreamAttributes a = x.attributes();
        std::array<std::string, kFieldCount> texts;
        const QString name = (a.value(QLatin1String("vendor")).toString() + QLatin1Char(' ') +
                              a.value(QLatin1String("model")).toString())
                                 .simplified();
        texts[std::size_t(Field::Model)] = name.toStdString();
        std::string why;
        for (const Unit& u : kUnits) {
            const QString t = a.value(QLatin1String(u.attr)).toString().trimmed();
            if (t.isEmpty()) continue;
            bool ok = false;
            const double v = t.toDouble(&ok);
            if (!ok || !std::isfinite(v)) {
                why += (why.empty() ? "" : "; ") + std::string(u.attr) + ": not a number";
                continue;
            }
            texts[std::size_t(u.field)] = Converted(v * u.factor);
        }
        const QString spl = a.value(QLatin1String("spl")).toString().trimmed();
        if (!spl.isEmpty()) {
            bool ok = false;
            const double v = spl.toDouble(&ok);
            if (ok && std::isfinite(v) && v > 0 && v < 200)
                texts[std::size_t(Field::Effi)] = Converted(EfficiencyFromSpl(v));
            else if (!(ok && v == 0))
                why += (why.empty() ? "" : "; ") + std::string("spl: not a sensitivity");
        }
        Driver d;
        for (const FieldError& e : Validate(texts, d))
            why += (why.empty() ? "" : "; ") + std::string(Info(e.field).key) + ": " + e.reason;
        if (why.empty())
            r.taken.push_back(std::move(d));
        else
            r.refused.push_back({line, (name.isEmpty() ? std::string() : name.left(60).toStdString() + ": ") + why});
    }
    if (x.hasError()) {
        // Not well-formed: nothing of it is trusted.
        r.fatal =
            "not well-formed XML at line " + std::to_string(x.lineNumber()) + ": " + x.errorString().toStdString();
        r.taken.clear();
        r.refused.clear();
        return r;
    }
    if (rows == 0) r.fatal = "no <speaker> element in the file";
    return r;
}

ImportResult ImportFile(const QString& path)
{
    ImportResult r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.fatal = "cannot read " + path.toStdString() + ": " + f.errorString().toStdString();
        return r;
    }
    if (f.size() > qint64(kMaxImportBytes)) {
        r.fatal = path.toStdString() + " is larger than 64 MiB";
        return r;
    }
    const QByteArray bytes = f.read(qint64(kMaxImportBytes) + 1);
    if (f.error() != QFileDevice::NoError) {
        r.fatal = "cannot read " + path.toStdString() + ": " + f.errorString().toStdString();
        return r;
    }
    QByteArrayView head(bytes);
    if (head.startsWith("\xEF\xBB\xBF")) head = head.sliced(3);
    head = head.trimmed();
    // UTF-16 or UTF-32 is never a CSV file of ours but may be XML.
    const auto wide = QStringConverter::encodingForData(bytes, u'<');
    if (head.startsWith('<') || (wide && *wide != QStringConverter::Utf8)) return ImportQspeakersXml(bytes);
    return ImportCsv(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

bool ExportFile(const QString& path, const std::vector<Driver>& drivers, QString& error)
{
    const std::string csv = ExportCsv(drivers);
    const QString failed = SaveFileBytes(path, QByteArray::fromStdString(csv));
    if (failed.isEmpty()) return true;
    error = QStringLiteral("Cannot write %1: %2").arg(path, failed);
    return false;
}

QString ReadBackLimit(std::size_t drivers, qint64 bytes)
{
    if (drivers > kMaxImportRows)
        return QStringLiteral(
                   "It holds %1 drivers and an import reads at most %2, so it cannot be imported back whole.")
            .arg(drivers)
            .arg(kMaxImportRows);
    if (bytes > qint64(kMaxImportBytes))
        return QStringLiteral("It is larger than the %1 MiB an import reads, so it cannot be imported back whole.")
            .arg(kMaxImportBytes >> 20);
    return {};
}

}  // namespace ks::lib
