#include "files/ProgramFile.h"
#include "model/ChannelCell.h"
#include "support/FindWidget.h"
#include "ui/CAboutDlg.h"
#include "ui/CCopyStepsDlg.h"
#include "ui/CEditorDlg.h"
#include "ui/EditorPrompts.h"
#include "ui/TriStateBitmapButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

using tevra::ButtonState;
using tevra::CEditorDlg;
using tevra::EditorPrompts;
using tevra::TriStateBitmapButton;

namespace {

struct Message {
    QString text;
    QString caption;
};

// Answers the editor's file choosers and records its message boxes.
class FakePrompts : public EditorPrompts {
public:
    QStringList openNames;
    QStringList saveNames;
    std::vector<Message> messages;
    QList<SaveChoice> saveChoices;
    int saveQuestions = 0;

    QString openFileName(QWidget*) override {
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString saveFileName(QWidget*) override {
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }
    void showMessage(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }
    SaveChoice askSaveChanges(QWidget*) override {
        ++saveQuestions;
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }
};

// Runs check on the next modal window that opens, then closes it with accept().
void onNextModal(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check = std::move(check)] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        check(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        }
    });
}

} // namespace

class EditorDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshWindowShowsStepOneOfTwenty();
    void primaryClicksCycleTheChannel_data();
    void primaryClicksCycleTheChannel();
    void tabCyclesThePrimaryButtons();
    void tabFromAnotherControlReachesTheFirstOrLastChannel_data();
    void tabFromAnotherControlReachesTheFirstOrLastChannel();
    void hidingTheFocusedControlKeepsTheSelection_data();
    void hidingTheFocusedControlKeepsTheSelection();
    void arrowKeysNeverReachTheFocusedControl_data();
    void arrowKeysNeverReachTheFocusedControl();
    void clickOnANumberSelectsItsChannel();
    void buttonsReachThePresenter_data();
    void buttonsReachThePresenter();
    void refusedShiftIsReported();
    void enterClicksAFocusedPushButton();
    void copyButtonCopiesStepsOneAndTwoToThreeAndFour();
    void saveAndReadRoundTrip();
    void insertFromFileCopiesFromTheFile();
    void refusedFileIsReportedAndChangesNothing();
    void failedSaveIsReportedAndKeepsTheOldFile();
    void closeAsksAboutUnsavedChanges_data();
    void closeAsksAboutUnsavedChanges();
    void closeWithNothingToLoseClosesAtOnce();
    void f1OpensTheAboutBox();
    void contextMenuOffersTheAboutBox();

private:
    template <typename T> T* child(const QString& name) const {
        return tevra::findWidget<T>(m_editor.get(), name);
    }
    TriStateBitmapButton* primary(int channel) const {
        return child<TriStateBitmapButton>(QStringLiteral("primary%1").arg(channel));
    }
    TriStateBitmapButton* secondary(int channel) const {
        return child<TriStateBitmapButton>(QStringLiteral("secondary%1").arg(channel));
    }
    QLabel* marker(int channel) const {
        return child<QLabel>(QStringLiteral("marker%1").arg(channel));
    }
    QString text(const QString& edit) const { return child<QLineEdit>(edit)->text(); }
    void click(const QString& button) {
        QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton);
    }
    int visibleMarker() const {
        int found = 0;
        for (int channel = 1; channel <= tevra::kChannelCount; ++channel) {
            if (marker(channel)->isVisible()) {
                found = found == 0 ? channel : -1;
            }
        }
        return found;
    }
    QString tempFile(const QString& name) const { return m_dir.filePath(name); }
    int modeAt(int step, int channel) const {
        return tevra::modeOf(m_editor->workingImage().cell(step, channel));
    }
    static void key(Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), pressed, modifiers);
    }
    void clickPrimary(int channel) { QTest::mouseClick(primary(channel), Qt::LeftButton); }

    QTemporaryDir m_dir;
    FakePrompts* m_prompts = nullptr;
    std::unique_ptr<CEditorDlg> m_editor;
};

void EditorDialogTest::init() {
    auto prompts = std::make_unique<FakePrompts>();
    m_prompts = prompts.get();
    m_editor = std::make_unique<CEditorDlg>(std::move(prompts));
    m_editor->show();
    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
}

void EditorDialogTest::cleanup() {
    // Closing must not ask here; each test that cares about the question checks it itself.
    m_editor.reset();
    m_prompts = nullptr;
}

void EditorDialogTest::freshWindowShowsStepOneOfTwenty() {
    QCOMPARE(m_editor->windowTitle(), QStringLiteral("Tevra 1.1"));
    // Icon 128 comes large and small.
    const QList<QSize> iconSizes = m_editor->windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(32, 32)));
    QVERIFY(iconSizes.contains(QSize(16, 16)));
    QCOMPARE(text("stepEdit"), QStringLiteral("1"));
    QCOMPARE(text("countEdit"), QStringLiteral("20"));
    QCOMPARE(child<QGroupBox>("stepTimeGroup")->title(), QStringLiteral("Время шага 1000 mS."));
    QCOMPARE(child<QSlider>("stepTimeSlider")->value(), 100);
    QCOMPARE(child<QSlider>("stepSelector")->minimum(), 1);
    QCOMPARE(child<QSlider>("stepSelector")->maximum(), 20);
    QCOMPARE(child<QSlider>("stepSelector")->value(), 1);
    for (int channel = 1; channel <= tevra::kChannelCount; ++channel) {
        QCOMPARE(primary(channel)->state(), ButtonState::Clear);
        // The dark bitmap: 140 x 30, all black.
        QCOMPARE(primary(channel)->image().size(), QSize(140, 30));
        QCOMPARE(primary(channel)->image().toImage().pixelColor(70, 15), QColor(Qt::black));
        QVERIFY(!secondary(channel)->isVisible());
    }
    QCOMPARE(visibleMarker(), 1);
    QCOMPARE(QApplication::focusWidget(), primary(1));
    for (const char* hidden : {"detailGroup", "dimmerSlider", "levelSlider", "stopDimmerCheck",
                               "timeFromDimmerButton"}) {
        QVERIFY2(!child<QWidget>(hidden)->isVisible(), hidden);
    }
    QVERIFY(!child<QCheckBox>("startBlockCheck")->isChecked());
}

void EditorDialogTest::primaryClicksCycleTheChannel_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("undo");
    QTest::addColumn<int>("state");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("dimmerShown");

    const QSize dark(140, 30);
    const QSize on(161, 18);
    const int checked = int(ButtonState::Checked);
    QTest::newRow("one click: on") << 1 << false << checked << on << 1 << false;
    QTest::newRow("two clicks: dimmer from dark")
        << 2 << false << int(ButtonState::Indeterminate) << QSize(109, 11) << 2 << true;
    QTest::newRow("three clicks: off")
        << 3 << false << int(ButtonState::Clear) << dark << 0 << false;
    QTest::newRow("two clicks, then undo") << 2 << true << checked << on << 1 << false;
}

void EditorDialogTest::primaryClicksCycleTheChannel() {
    QFETCH(int, clicks);
    QFETCH(bool, undo);
    QFETCH(int, state);
    QFETCH(QSize, image);
    QFETCH(int, mode);
    QFETCH(bool, dimmerShown);

    for (int i = 0; i < clicks; ++i) {
        clickPrimary(5);
    }
    if (undo) {
        click("undoButton");
    }
    QCOMPARE(int(primary(5)->state()), state);
    QCOMPARE(primary(5)->image().size(), image);
    QCOMPARE(modeAt(1, 4), mode);
    QCOMPARE(visibleMarker(), 5);
    QCOMPARE(secondary(5)->isVisible(), dimmerShown);
    for (const char* detail : {"dimmerSlider", "timeFromDimmerButton", "detailGroup"}) {
        QCOMPARE(child<QWidget>(detail)->isVisible(), dimmerShown);
    }
    if (dimmerShown) {
        QCOMPARE(secondary(5)->image().size(), QSize(140, 30));
        QCOMPARE(secondary(5)->state(), ButtonState::Clear);
        QVERIFY(child<QGroupBox>("detailGroup")
                    ->title()
                    .startsWith(QStringLiteral("Скорость диммера 5 -го канала: ")));
    }
    // The other channels are untouched.
    QCOMPARE(primary(4)->state(), ButtonState::Clear);
    QCOMPARE(m_editor->workingImage().cell(1, 3), 0);
}

void EditorDialogTest::tabCyclesThePrimaryButtons() {
    for (int channel = 2; channel <= tevra::kChannelCount; ++channel) {
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), primary(channel));
        QCOMPARE(visibleMarker(), channel);
    }
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), primary(1));
    QCOMPARE(visibleMarker(), 1);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), primary(16));
    QCOMPARE(visibleMarker(), 16);

    // Space clicks the focused channel button.
    key(Qt::Key_Space);
    QCOMPARE(primary(16)->state(), ButtonState::Checked);
    QCOMPARE(modeAt(1, 15), 1);
}

void EditorDialogTest::tabFromAnotherControlReachesTheFirstOrLastChannel_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<int>("reached");
    for (const char* control : {"countPlus1Button", "stepTimeSlider", "undoButton"}) {
        QTest::newRow(control) << QString(control) << false << 1;
        QTest::addRow("%s, backwards", control) << QString(control) << true << 16;
    }
    // Buttons go by identifier: channel 5's primary button comes before its secondary one.
    QTest::newRow("secondary5") << QStringLiteral("secondary5") << false << 6;
    QTest::newRow("secondary5, backwards") << QStringLiteral("secondary5") << true << 5;
}

void EditorDialogTest::tabFromAnotherControlReachesTheFirstOrLastChannel() {
    QFETCH(QString, control);
    QFETCH(bool, backwards);
    QFETCH(int, reached);
    clickPrimary(5);
    clickPrimary(5);
    child<QWidget>(control)->setFocus(Qt::MouseFocusReason);
    key(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget(), primary(reached));
    QCOMPARE(visibleMarker(), reached);
}

void EditorDialogTest::hidingTheFocusedControlKeepsTheSelection_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("level");
    for (const char* control :
         {"dimmerSlider", "stopDimmerCheck", "timeFromDimmerButton", "secondary5"}) {
        QTest::newRow(control) << QString(control) << false;
    }
    QTest::newRow("levelSlider") << QStringLiteral("levelSlider") << true;
}

// Channel 5 dims on step 1 and is off on step 2: stepping there and back hides the focused
// control of its detail panel and shows it again.
void EditorDialogTest::hidingTheFocusedControlKeepsTheSelection() {
    QFETCH(QString, control);
    QFETCH(bool, level);
    clickPrimary(5);
    clickPrimary(5);
    if (level) {
        click("stopDimmerCheck");
    }
    child<QWidget>(control)->setFocus(Qt::MouseFocusReason);

    key(Qt::Key_Right);
    QCOMPARE(visibleMarker(), 5);
    QVERIFY(!child<QWidget>("detailGroup")->isVisible());
    key(Qt::Key_Left);
    QCOMPARE(visibleMarker(), 5);
    QCOMPARE(m_editor->presenter().model().selectedChannel(), 4);
    QVERIFY(child<QWidget>("detailGroup")->isVisible());
    QVERIFY(child<QWidget>(control)->isVisible());
}

void EditorDialogTest::arrowKeysNeverReachTheFocusedControl_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("stepTime");

    for (const QString& focus : {QStringLiteral("stepSelector"), QStringLiteral("stepTimeSlider"),
                                 QStringLiteral("primary3")}) {
        const QByteArray name = focus.toUtf8();
        QTest::newRow((name + ": right").constData()) << focus << int(Qt::Key_Right) << "2" << 100;
        QTest::newRow((name + ": down").constData()) << focus << int(Qt::Key_Down) << "1" << 99;
    }
}

void EditorDialogTest::arrowKeysNeverReachTheFocusedControl() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, step);
    QFETCH(int, stepTime);

    QWidget* target = child<QWidget>(focus);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key));

    QCOMPARE(QApplication::focusWidget(), target);
    QCOMPARE(text("stepEdit"), step);
    QCOMPARE(child<QSlider>("stepSelector")->value(), step.toInt());
    QCOMPARE(child<QSlider>("stepTimeSlider")->value(), stepTime);
    QCOMPARE(child<QGroupBox>("stepTimeGroup")->title(),
             QStringLiteral("Время шага %1 mS.").arg(stepTime * 10));
    QCOMPARE(int(m_editor->workingImage().stepTime(step.toInt())), stepTime);
}

void EditorDialogTest::clickOnANumberSelectsItsChannel() {
    clickPrimary(3);
    const tevra::ProgramImage before = m_editor->workingImage();

    QTest::mouseClick(child<QLabel>("number12"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), primary(12));
    QCOMPARE(visibleMarker(), 12);
    QVERIFY(m_editor->workingImage() == before);
}

void EditorDialogTest::buttonsReachThePresenter_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("startBlock");
    QTest::newRow("+1") << "countPlus1Button" << 21 << false;
    QTest::newRow("+10") << "countPlus10Button" << 30 << false;
    QTest::newRow("-1") << "countMinus1Button" << 19 << false;
    QTest::newRow("-10") << "countMinus10Button" << 10 << false;
    QTest::newRow("start block") << "startBlockCheck" << 20 << true;
}

void EditorDialogTest::buttonsReachThePresenter() {
    QFETCH(QString, button);
    QFETCH(int, count);
    QFETCH(bool, startBlock);
    click(button);
    QCOMPARE(text("countEdit"), QString::number(count));
    QCOMPARE(child<QSlider>("stepSelector")->maximum(), count);
    QCOMPARE(m_editor->workingImage().stepCount(), count);
    QCOMPARE(child<QCheckBox>("startBlockCheck")->isChecked(), startBlock);
    QCOMPARE(m_editor->workingImage().startBlock(), startBlock);
}

void EditorDialogTest::refusedShiftIsReported() {
    child<QSlider>("stepTimeSlider")->setValue(tevra::kMinStepTime);
    QCOMPARE(int(m_editor->workingImage().stepTime(1)), int(tevra::kMinStepTime));
    key(Qt::Key_Right);

    click("timesMinusButton");
    QCOMPARE(m_prompts->messages.size(), std::size_t{1});
    QCOMPARE(m_prompts->messages[0].caption, QStringLiteral("Время не может быть изменено"));
    QCOMPARE(m_prompts->messages[0].text,
             QStringLiteral("Время шага номер: 1\nне может быть меньше 0,05 секунды!"));
    // Nothing shifted, and the failing step is shown.
    QCOMPARE(text("stepEdit"), QStringLiteral("1"));
    QCOMPARE(int(m_editor->workingImage().stepTime(2)), 100);
}

void EditorDialogTest::enterClicksAFocusedPushButton() {
    QPushButton* plusOne = child<QPushButton>("countPlus1Button");
    plusOne->setFocus();
    QTest::keyClick(plusOne, Qt::Key_Return);
    QCOMPARE(text("countEdit"), QStringLiteral("21"));
    QVERIFY(m_editor->isVisible());
    QCOMPARE(m_prompts->saveQuestions, 0);

    // On a channel button Enter confirms the window, which asks first: the count changed.
    primary(1)->setFocus();
    QTest::keyClick(primary(1), Qt::Key_Return);
    QCOMPARE(m_prompts->saveQuestions, 1);
    QVERIFY(m_editor->isVisible());
}

void EditorDialogTest::copyButtonCopiesStepsOneAndTwoToThreeAndFour() {
    clickPrimary(1);
    onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<tevra::CCopyStepsDlg*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->range().sourceFrom, 1);
        QCOMPARE(dialog->range().destFrom, 3);
        QCOMPARE(dialog->range().destTo, 4);
    });
    click("copyButton");
    QCOMPARE(modeAt(3, 0), 1);
    QCOMPARE(modeAt(4, 0), 0);
    QCOMPARE(modeAt(5, 0), 0);
}

void EditorDialogTest::saveAndReadRoundTrip() {
    clickPrimary(3);
    click("startBlockCheck");
    const tevra::ProgramImage saved = m_editor->workingImage();
    const QString path = tempFile(QStringLiteral("round.tvr"));
    m_prompts->saveNames << path;
    click("saveButton");
    QVERIFY(m_prompts->messages.empty());
    QCOMPARE(QFileInfo(path).size(), qint64(362));

    // Change the program, then read the file back.
    clickPrimary(3);
    click("countPlus10Button");
    m_prompts->openNames << path;
    click("readButton");

    QVERIFY(m_prompts->messages.empty());
    QVERIFY(m_editor->workingImage() == saved);
    QCOMPARE(primary(3)->state(), ButtonState::Checked);
    QVERIFY(child<QCheckBox>("startBlockCheck")->isChecked());
    QCOMPARE(text("countEdit"), QStringLiteral("20"));
    // Freshly loaded: closing has nothing to ask.
    m_editor->close();
    QCOMPARE(m_prompts->saveQuestions, 0);
    QVERIFY(!m_editor->isVisible());
}

void EditorDialogTest::insertFromFileCopiesFromTheFile() {
    clickPrimary(1);
    const QString path = tempFile(QStringLiteral("insert.tvr"));
    m_prompts->saveNames << path;
    click("saveButton");
    // The working program now differs from the file: channel 1 is off again.
    clickPrimary(1);
    clickPrimary(1);
    const tevra::ProgramImage before = m_editor->workingImage();

    m_prompts->openNames << path;
    onNextModal(
        [](QWidget* modal) { QVERIFY(qobject_cast<tevra::CCopyStepsDlg*>(modal) != nullptr); });
    click("insertFromFileButton");

    QVERIFY(m_prompts->messages.empty());
    QCOMPARE(modeAt(1, 0), 0);
    QCOMPARE(modeAt(3, 0), 1);
    click("undoButton");
    QVERIFY(m_editor->workingImage() == before);
}

void EditorDialogTest::refusedFileIsReportedAndChangesNothing() {
    // 362 bytes, as a 20-step file, but the header claims 21 steps.
    QByteArray bytes(362, '\0');
    bytes[0] = 0x15;
    const QString path = tempFile(QStringLiteral("wrong.tvr"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    clickPrimary(2);
    key(Qt::Key_Right);
    const tevra::ProgramImage before = m_editor->workingImage();
    m_prompts->openNames << path;
    click("readButton");

    QCOMPARE(m_prompts->messages.size(), std::size_t{1});
    QCOMPARE(m_prompts->messages[0].text, QStringLiteral("Ошибка файла"));
    QCOMPARE(m_prompts->messages[0].caption, QStringLiteral("Файле не может быть загружен!"));
    QVERIFY(m_editor->workingImage() == before);
    QCOMPARE(text("stepEdit"), QStringLiteral("2"));
    QCOMPARE(visibleMarker(), 2);

    // The same file offered for insertion ends the operation before any copy dialog.
    m_prompts->openNames << path;
    click("insertFromFileButton");
    QCOMPARE(m_prompts->messages.size(), std::size_t{2});
    QVERIFY(m_editor->workingImage() == before);
}

void EditorDialogTest::failedSaveIsReportedAndKeepsTheOldFile() {
    const QString path = tempFile(QStringLiteral("old.tvr"));
    m_prompts->saveNames << path;
    click("saveButton");
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = old.readAll();
    old.close();

    // A file cannot be created below a plain file: the save fails with the system's reason.
    clickPrimary(1);
    const QString impossible = path + QStringLiteral("/new.tvr");
    m_prompts->saveNames << impossible;
    click("saveButton");

    QCOMPARE(m_prompts->messages.size(), std::size_t{1});
    QCOMPARE(m_prompts->messages[0].caption, QApplication::applicationName());
    QVERIFY(m_prompts->messages[0].text.contains(impossible));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), oldBytes);

    // A failed save still leaves the program unsaved: closing asks, and a second failure keeps
    // the window open.
    m_prompts->saveChoices = {EditorPrompts::SaveChoice::Save};
    m_prompts->saveNames << impossible;
    m_editor->close();
    QCOMPARE(m_prompts->saveQuestions, 1);
    QVERIFY(m_editor->isVisible());
}

void EditorDialogTest::closeAsksAboutUnsavedChanges_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");

    QTest::newRow("save") << int(EditorPrompts::SaveChoice::Save) << "closing.tvr" << true << true;
    QTest::newRow("save, chooser cancelled")
        << int(EditorPrompts::SaveChoice::Save) << "" << false << false;
    QTest::newRow("discard") << int(EditorPrompts::SaveChoice::Discard) << "" << true << false;
    QTest::newRow("cancel") << int(EditorPrompts::SaveChoice::Cancel) << "" << false << false;
}

void EditorDialogTest::closeAsksAboutUnsavedChanges() {
    QFETCH(int, choice);
    QFETCH(QString, saveName);
    QFETCH(bool, closes);
    QFETCH(bool, written);

    clickPrimary(9);
    m_prompts->saveChoices = {EditorPrompts::SaveChoice(choice)};
    const QString path = saveName.isEmpty() ? QString() : tempFile(saveName);
    m_prompts->saveNames << path;

    key(Qt::Key_Escape);
    QCOMPARE(m_prompts->saveQuestions, 1);
    QCOMPARE(m_editor->isVisible(), !closes);
    QCOMPARE(!path.isEmpty() && QFileInfo::exists(path), written);
    if (written) {
        tevra::ProgramImage readBack = tevra::ProgramImage::startProgram();
        QVERIFY(tevra::readProgramFile(path.toStdString(), readBack).ok());
        QCOMPARE(tevra::modeOf(readBack.cell(1, 8)), 1);
    }
    if (!closes) {
        // Nothing was lost: the change is still there.
        QCOMPARE(primary(9)->state(), ButtonState::Checked);
    }
}

void EditorDialogTest::closeWithNothingToLoseClosesAtOnce() {
    // Moving around changes no program byte.
    key(Qt::Key_Right);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    QCOMPARE(m_prompts->saveQuestions, 0);
    QVERIFY(!m_editor->isVisible());
    QCOMPARE(m_editor->result(), int(QDialog::Accepted));
}

void EditorDialogTest::f1OpensTheAboutBox() {
    bool seen = false;
    onNextModal([&seen](QWidget* modal) {
        QVERIFY(qobject_cast<tevra::CAboutDlg*>(modal) != nullptr);
        QCOMPARE(modal->windowTitle(), QStringLiteral("Velmora_N1"));
        QVERIFY(modal->findChild<QLabel*>("versionLabel")->text() ==
                QStringLiteral("Velmora_N1 Version 1.0"));
        QVERIFY(
            modal->findChild<QLabel*>("copyrightLabel")->text().contains(QStringLiteral("2005")));
        seen = true;
    });
    key(Qt::Key_F1);
    QVERIFY(seen);
    QVERIFY(m_editor->isVisible());
}

void EditorDialogTest::contextMenuOffersTheAboutBox() {
    bool aboutShown = false;
    QTimer::singleShot(0, [&aboutShown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("&About Velmora_N1..."));
        onNextModal([&aboutShown](QWidget* modal) {
            aboutShown = qobject_cast<tevra::CAboutDlg*>(modal) != nullptr;
        });
        menu->actions()[0]->trigger();
        menu->close();
    });
    QWidget* label = child<QWidget>("number3");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &event);
    QVERIFY(aboutShown);
    // Opening the menu over a channel's number did not change the program.
    QCOMPARE(m_prompts->saveQuestions, 0);
    QCOMPARE(modeAt(1, 2), 0);
}

QTEST_MAIN(EditorDialogTest)
#include "EditorDialogTest.moc"
