// The two sound resources, the player without a resource or an audio
// output, and the program's player loaded from its module.
#include <QTemporaryDir>
#include <QtTest>

#include "reports/qt/module_sound.h"
#include "reports/qt/sound_player.h"

using namespace ks;

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    // A resource decodes; missing, outside the resource folder or
    // undecodable is -43 or silence; without an audio output, silence too
    // and the program goes on.
    void resourcesFoundRefusedOrSilent()
    {
        MediaSoundPlayer real(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QString path;
        QCOMPARE(real.FSSpecFromSupportFileName("Click.aif", "Images", path), 0);
        DecodedSound s;
        QVERIFY(DecodeSoundFile(path, s) && s.seconds() >= 0.01 && s.seconds() <= 0.1);

        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QFile junk(dir.filePath("Images/Junk.aif"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("FORM this is not a sound") > 0);
        junk.close();
        QFile::copy(junk.fileName(), dir.filePath("secret.aif"));
        MediaSoundPlayer player(dir.path());
        for (const auto& [name, folder] : {std::pair{"Nothing.aif", "Images"}, {"../secret.aif", "Images"},
                                           {"secret.aif", ".."}, {"", "Images"}, {"Images", "."}}) {
            path = QStringLiteral("stale");
            QCOMPARE(player.FSSpecFromSupportFileName(name, folder, path), -43);
            QVERIFY(path.isEmpty());
        }
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        QVERIFY(!DecodeSoundFile(junk.fileName(), s));
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Junk.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
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
