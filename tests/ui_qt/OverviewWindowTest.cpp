#include "ui/dialogs/CPatternDlg.h"
#include "ui/editor/CEditorDlg.h"
#include "ui/overview/COverviewWnd.h"
#include "ui/widgets/TriStateBitmapButton.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

using namespace tevra;

class OverviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    // As the application runs the editor, modally: input comes through the window system,
    // which drops it for windows that a modal window blocks.
    void theOverviewFollowsAndDrivesTheModalEditor() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
        openEditor();
        bool ran = false;
        QTimer::singleShot(0, [this, &ran] {
            followAndDriveTheEditor();
            ran = !QTest::currentTestFailed();
            m_editor->QDialog::done(QDialog::Rejected); // without the save question, had it failed
        });
        m_editor->hide(); // modality takes hold when the window is shown
        m_editor->exec();
        QVERIFY(ran);

        // F2 in a new editor: the overview as it closed, with the editor's step in view.
        openEditor();
        QTest::mouseClick(child("countPlus10Button"), Qt::LeftButton);
        QTest::mouseClick(child("countPlus10Button"), Qt::LeftButton);
        m_editor->findChild<QSlider*>("stepSelector")->setValue(40);
        QCOMPARE(pressF2()->size(), QSize(1000, 560));
        QCOMPARE(lastVisibleX(), 40 * 40);
        // A new last column comes into view; the windows fit side by side on 1366 px.
        QTest::mouseClick(child("insertStepButton"), Qt::LeftButton);
        QCOMPARE(lastVisibleX(), 41 * 40);
        QVERIFY(m_editor->width() + 8 + pressF2()->minimumSizeHint().width() <= 1366);
    }

    // Select, fill, copy, move, paste and clear in the grid, with the editor following; then
    // back through all of it and forward one entry.
    void theGridEditsThroughTheEditorsHistory() {
        openEditor();
        COverviewWnd* opened = pressF2();
        QVERIFY(opened);
        const auto key = [opened](Qt::Key pressed, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(opened, pressed, modifiers);
        };
        key(Qt::Key_Right);
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(overviewChild<QLabel>("selectionLabel")->text(),
                 QStringLiteral("Выделено: шаги 2–3, каналы 1–2"));
        action(opened, "Включен")->trigger();
        key(Qt::Key_C, Qt::ControlModifier);
        for (int k = 0; k < 3; ++k) {
            key(Qt::Key_Right);
        }
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(stepText(), QStringLiteral("6"));
        QCOMPARE(litButtons(), QStringLiteral("2 3"));
        key(Qt::Key_Down);
        key(Qt::Key_Delete);
        QCOMPARE(litButtons(), QStringLiteral("2"));
        QCOMPARE(overviewChild<QToolButton>("undoButton")->toolTip(),
                 QStringLiteral("Отменить: очистка 1 × 1"));

        for (int k = 0; k < 3; ++k) {
            key(Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(m_editor->workingImage(), ProgramImage::startProgram());
        QVERIFY(!m_editor->presenter().isModified());
        QVERIFY(!overviewChild<QToolButton>("undoButton")->isEnabled());
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(stepText(), QStringLiteral("3"));
        QCOMPARE(litButtons(), QStringLiteral("1 2"));
        QCOMPARE(overviewChild<QToolButton>("redoButton")->toolTip(),
                 QStringLiteral("Повторить: вставка 2 × 2"));

        // A refusal stands until the selection or the program moves on, from either window.
        const QString refused = QStringLiteral("Меньше 2 шагов в программе оставить нельзя");
        const auto selectionText = [this] {
            return overviewChild<QLabel>("selectionLabel")->text();
        };
        key(Qt::Key_A, Qt::ControlModifier);
        key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(selectionText(), refused);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, {8 + 40 * 4, 17});
        QCOMPARE(selectionText(), QStringLiteral("Выделено: шаг 4, каналы 1–16"));
        key(Qt::Key_A, Qt::ControlModifier);
        key(Qt::Key_Delete, Qt::ControlModifier);
        QTest::mouseClick(child("countPlus1Button"), Qt::LeftButton);
        QCOMPARE(selectionText(), QStringLiteral("Выделено: шаги 1–21, каналы 1–16"));
        m_editor->QDialog::done(QDialog::Rejected);
    }

    // A selection, Ctrl+G and "Применить" make a chase; one Ctrl+Z takes it back whole.
    void aPatternIsOneEntryOfTheHistory() {
        openEditor();
        COverviewWnd* opened = pressF2();
        QVERIFY(opened);
        QTest::keyClick(opened, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(opened, Qt::Key_Down, Qt::ShiftModifier);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPatternDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("applyButton"), Qt::LeftButton);
        });
        QTest::keyClick(opened, Qt::Key_G, Qt::ControlModifier);
        ProgramImage chase = ProgramImage::startProgram();
        chase.setCell(1, 0, 1);
        chase.setCell(2, 1, 1);
        QCOMPARE(m_editor->workingImage(), chase);
        QCOMPARE(overviewChild<QToolButton>("undoButton")->toolTip(),
                 QStringLiteral("Отменить: узор chase 2 × 2"));
        // Without a window manager no window is active once the dialog has gone.
        opened->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(opened));
        QTest::keyClick(opened, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_editor->workingImage(), ProgramImage::startProgram());
        m_editor->QDialog::done(QDialog::Rejected);
    }

private:
    static QAction* action(QWidget* window, const char* text) {
        for (QAction* action : window->actions()) {
            if (action->text() == QString::fromUtf8(text)) {
                return action;
            }
        }
        return nullptr;
    }
    // The channels whose primary buttons show On in the editor.
    QString litButtons() const {
        QStringList lit;
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            const auto* button = m_editor->findChild<TriStateBitmapButton*>(
                QStringLiteral("primary%1").arg(channel));
            if (button->state() == ButtonState::Checked) {
                lit << QString::number(channel);
            }
        }
        return lit.join(' ');
    }

    void followAndDriveTheEditor() {
        COverviewWnd* opened = pressF2();
        QVERIFY(QTest::qWaitForWindowActive(opened));

        // A click moves the editor's step and channel; keys step and play.
        QTest::mouseClick(opened->windowHandle(), Qt::LeftButton, {},
                          grid()->viewport()->mapTo(opened, cellCentre(7, 11)));
        QCOMPARE(stepText(), QStringLiteral("7"));
        QCOMPARE(m_editor->focusWidget(), child("primary12"));
        QTest::keyClick(opened, Qt::Key_Right);
        QTest::keyClick(opened, Qt::Key_Right);
        QTest::keyClick(opened, Qt::Key_Left);
        QCOMPARE(stepText(), QStringLiteral("8"));
        overviewChild<QComboBox>("speedCombo")->setCurrentIndex(3); // 4x: steps of 250 ms
        QTest::keyClick(opened, Qt::Key_Space);
        QTRY_VERIFY(status().startsWith(QStringLiteral("Шаг 9 из 20")));
        QTest::mouseClick(overviewChild<QPushButton>("stopButton"), Qt::LeftButton);
        QVERIFY(status().startsWith(QStringLiteral("Шаг 8 из 20, время 0:07,0")));
        QCOMPARE(stepText(), QStringLiteral("8")); // playing moves nothing in the editor

        // Edits in the editor show at once, and the grid scrolls to the editor's step.
        QCOMPARE(cellColour(8, 4), QColor(Qt::black));
        QTest::mouseClick(child("primary5"), Qt::LeftButton);
        QCOMPARE(cellColour(8, 4), QColor(Qt::white));
        QTest::mouseClick(child("undoButton"), Qt::LeftButton);
        QTest::mouseClick(child("countPlus10Button"), Qt::LeftButton);
        QCOMPARE(status(), QStringLiteral("Шаг 8 из 30, время 0:07,0 из 0:30,0"));
        m_editor->findChild<QSlider*>("stepSelector")->setValue(30);
        QVERIFY(grid()->horizontalScrollBar()->value() > 0);

        // Tab reaches the speed, "По времени" and "Отменить" ("Повторить" has nothing to do);
        // the grid passes Left and Right to the window.
        const char* chain[] = {"playButton", "speedCombo", "byTimeCheck", "undoButton", "grid"};
        for (const char* name : chain) {
            QTest::keyClick(opened, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), overviewChild(name));
        }
        QTest::keyClick(grid(), Qt::Key_Left);
        QCOMPARE(stepText(), QStringLiteral("29"));
        QTest::mouseClick(child("undoButton"), Qt::LeftButton);

        opened->resize(1000, 560);
        QTest::keyClick(m_editor.get(), Qt::Key_Escape);
        QVERIFY(!opened->isVisible());
    }

    void openEditor() {
        m_editor = std::make_unique<CEditorDlg>();
        m_editor->show();
        m_editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    }
    COverviewWnd* pressF2() {
        QTest::keyClick(m_editor.get(), Qt::Key_F2);
        auto* overview = m_editor->findChild<COverviewWnd*>();
        return QTest::qWaitForWindowExposed(overview) ? overview : nullptr;
    }
    QWidget* child(const QString& name) const { return m_editor->findChild<QWidget*>(name); }
    template <typename T = QWidget> T* overviewChild(const QString& name) const {
        return m_editor->findChild<COverviewWnd*>()->findChild<T*>(name);
    }
    // Grid x just right of the last column in view.
    int lastVisibleX() const {
        return grid()->horizontalScrollBar()->value() + grid()->viewport()->width() - 28;
    }
    QAbstractScrollArea* grid() const { return overviewChild<QAbstractScrollArea>("grid"); }
    // Unscrolled: channel numbers 28 px wide, header 34 px high, cells 40 x 18 px.
    static QPoint cellCentre(int step, int channel) { return {8 + 40 * step, 43 + 18 * channel}; }
    QColor cellColour(int step, int channel) const {
        return grid()->viewport()->grab().toImage().pixelColor(cellCentre(step, channel));
    }
    QString status() const { return overviewChild<QLabel>("statusLabel")->text(); }
    QString stepText() const { return m_editor->findChild<QLineEdit*>("stepEdit")->text(); }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<CEditorDlg> m_editor;
};

QTEST_MAIN(OverviewWindowTest)
#include "OverviewWindowTest.moc"
