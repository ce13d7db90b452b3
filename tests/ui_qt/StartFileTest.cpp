#include "files/ProgramFile.h"
#include "support/FakeEditorPrompts.h"
#include "support/FindWidget.h"
#include "ui/CEditorDlg.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using tevra::ProgramImage;

// The program file named on the editor's command line is read as "Прочитать" reads it.
class StartFileTest : public QObject {
    Q_OBJECT

private slots:
    void fileIsReadAsReadDoes_data();
    void fileIsReadAsReadDoes();
};

namespace {

ProgramImage threeSteps() {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(3);
    image.setStartBlock(true);
    image.setStepTime(2, 250);
    image.setCell(3, 15, 0x7B);
    return image;
}

QByteArray fileBytes(const ProgramImage& image) {
    const std::vector<std::uint8_t> bytes = tevra::programFileBytes(image);
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

} // namespace

void StartFileTest::fileIsReadAsReadDoes_data() {
    QTest::addColumn<QByteArray>("content"); // a null array: no file at all
    QTest::addColumn<QString>("message");    // the start of the one message; empty for none
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("accepted");

    QByteArray refused = fileBytes(ProgramImage::startProgram());
    refused[0] = 0x15; // 362 bytes, as 20 steps, but the header claims 21
    const QString appName = QCoreApplication::applicationName();
    QTest::newRow("accepted") << fileBytes(threeSteps()) << ""
                              << "" << true;
    QTest::newRow("refused") << refused << QString::fromUtf8(tevra::kFileRefusedText)
                             << QString::fromUtf8(tevra::kFileRefusedCaption) << false;
    QTest::newRow("missing") << QByteArray() << "Файл не может быть открыт:" << appName << false;
}

void StartFileTest::fileIsReadAsReadDoes() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(bool, accepted);

    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("show.tvr"));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    auto prompts = std::make_unique<tevra::FakeEditorPrompts>();
    const tevra::FakeEditorPrompts& seen = *prompts;
    tevra::CEditorDlg editor(std::move(prompts));

    editor.loadProgram(path);

    const ProgramImage expected = accepted ? threeSteps() : ProgramImage::startProgram();
    QVERIFY(editor.workingImage() == expected);
    QCOMPARE(tevra::findWidget<QLineEdit>(&editor, "countEdit")->text(),
             QString::number(expected.stepCount()));
    QCOMPARE(tevra::findWidget<QLineEdit>(&editor, "stepEdit")->text(), QStringLiteral("1"));
    QVERIFY(!editor.presenter().isModified());
    QCOMPARE(seen.messages.size(), message.isEmpty() ? 0u : 1u);
    if (!message.isEmpty()) {
        QVERIFY2(seen.messages[0].text.startsWith(message), qPrintable(seen.messages[0].text));
        // A file that cannot be opened is named, as after "Прочитать".
        QCOMPARE(seen.messages[0].text.contains(path), content.isNull());
        QCOMPARE(seen.messages[0].caption, caption);
    }
}

QTEST_MAIN(StartFileTest)
#include "StartFileTest.moc"
