// The two sound resources and the player's behaviour without a resource or
// an audio output.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/qt/sound_player.h"

using namespace ks;

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void resourcesDecodeToShortSounds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minSeconds");
        QTest::addColumn<double>("maxSeconds");
        QTest::newRow("shutter") << "Shutter.aif" << 0.15 << 0.5;
        QTest::newRow("click") << "Click.aif" << 0.01 << 0.1;
    }
    void resourcesDecodeToShortSounds()
    {
        QFETCH(QString, name);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        MediaSoundPlayer player(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QString path;
        QCOMPARE(player.FSSpecFromSupportFileName(name.toStdString(), "Images", path), 0);
        DecodedSound s;
        QVERIFY(DecodeSoundFile(path, s));
        QCOMPARE(s.sampleRate, 44100);
        QCOMPARE(s.channels, 1);
        QVERIFY2(s.seconds() >= minSeconds && s.seconds() <= maxSeconds,
                 qPrintable(QString::number(s.seconds())));
        // Audible: the loudest sample is well above silence, and not clipped flat.
        int peak = 0;
        for (auto v : s.samples) peak = std::max(peak, std::abs(int(v)));
        QVERIFY(peak > 3000);
        QVERIFY(peak < 32767);
    }

    void missingResourceIsMinus43AndPlaysNothing()
    {
        MediaSoundPlayer player(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QString path = QStringLiteral("stale");
        QCOMPARE(player.FSSpecFromSupportFileName("Nothing.aif", "Images", path), -43);
        QVERIFY(path.isEmpty());
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Nothing.aif", "Images"), -43);
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        QCOMPARE(player.playedCount(), 0);
    }

    void namesCannotLeaveTheResourceFolder()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QFile outside(dir.filePath("secret.aif"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.close();
        MediaSoundPlayer player(dir.path());
        QString path;
        QCOMPARE(player.FSSpecFromSupportFileName("../secret.aif", "Images", path), -43);
        QCOMPARE(player.FSSpecFromSupportFileName("secret.aif", "..", path), -43);
        QCOMPARE(player.FSSpecFromSupportFileName("", "Images", path), -43);
        QCOMPARE(player.FSSpecFromSupportFileName("Images", ".", path), -43);
    }

    void undecodableFileIsSilent()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QFile junk(dir.filePath("Images/Junk.aif"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("FORM this is not a sound");
        junk.close();
        DecodedSound s;
        QVERIFY(!DecodeSoundFile(junk.fileName(), s));
        MediaSoundPlayer player(dir.path());
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Junk.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
    }

    void noAudioOutputPlaysNothingAndGoesOn()
    {
        if (!QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("this machine has an audio output");
        MediaSoundPlayer player(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Shutter.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
    }
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
