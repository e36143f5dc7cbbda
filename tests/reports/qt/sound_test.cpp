// The two sound resources, the player without a resource or an audio
// output, and the program's player loaded from its module.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/qt/module_sound.h"
#include "reports/qt/sound_player.h"

using namespace ks;

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void resourcesDecodeToShortAudibleSounds()
    {
        MediaSoundPlayer player(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        for (const auto& [name, minSeconds, maxSeconds] : {std::tuple{"Shutter.aif", 0.15, 0.5},
                                                           std::tuple{"Click.aif", 0.01, 0.1}}) {
            QString path;
            QCOMPARE(player.FSSpecFromSupportFileName(name, "Images", path), 0);
            DecodedSound s;
            QVERIFY(DecodeSoundFile(path, s));
            QCOMPARE(std::pair(s.sampleRate, s.channels), std::pair(44100, 1));
            QVERIFY2(s.seconds() >= minSeconds && s.seconds() <= maxSeconds, name);
            // The loudest sample is well above silence, and not clipped flat.
            int peak = 0;
            for (auto v : s.samples) peak = std::max(peak, std::abs(int(v)));
            QVERIFY(peak > 3000 && peak < 32767);
        }
    }

    // Missing, outside the resource folder or undecodable: -43 or silence;
    // without an audio output, silence too and the program goes on.
    void badResourcesOrNoOutputPlayNothing()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QFile junk(dir.filePath("Images/Junk.aif"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("FORM this is not a sound") > 0);
        junk.close();
        QFile::copy(junk.fileName(), dir.filePath("secret.aif"));
        MediaSoundPlayer player(dir.path());
        QString path = QStringLiteral("stale");
        QCOMPARE(player.FSSpecFromSupportFileName("Nothing.aif", "Images", path), -43);
        QVERIFY(path.isEmpty());
        for (const auto& [name, folder] : {std::pair{"../secret.aif", "Images"}, std::pair{"secret.aif", ".."},
                                           std::pair{"", "Images"}, std::pair{"Images", "."}})
            QCOMPARE(player.FSSpecFromSupportFileName(name, folder, path), -43);
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        DecodedSound s;
        QVERIFY(!DecodeSoundFile(junk.fileName(), s));
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Junk.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
        if (!QMediaDevices::defaultAudioOutput().isNull()) return;  // this machine has an audio output
        MediaSoundPlayer real(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QCOMPARE(real.PlayMovieSoundFromSupportFilename("Shutter.aif", "Images"), 0);
        QCOMPARE(real.playedCount(), 0);
    }

    // The module's player answers from the first sound on (it knows a
    // missing folder); without the module, silence, said once.
    void moduleLoadsOnTheFirstSoundOrStaysSilent()
    {
        QCoreApplication::addLibraryPath(QStringLiteral(KESTROVA_MODULE_DIR));
        ModuleSoundPlayer loaded;
        QCOMPARE(loaded.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        ModuleSoundPlayer missing(QStringLiteral("kestrova-none"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^kestrova: module kestrova-none not loaded"));
        QTest::failOnWarning(QRegularExpression("."));
        for (int i = 0; i < 2; ++i) QCOMPARE(missing.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), 0);
    }
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
