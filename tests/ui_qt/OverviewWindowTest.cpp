#include "support/FindWidget.h"
#include "ui/CEditorDlg.h"
#include "ui/COverviewWnd.h"
#include "ui/TriStateBitmapButton.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using tevra::COverviewWnd;
using tevra::findWidget;

class OverviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theOverviewFollowsAndDrivesTheModalEditor();

private:
    void followAndDriveTheEditor();
    void openEditor() {
        m_editor = std::make_unique<tevra::CEditorDlg>();
        m_editor->show();
        m_editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    }
    COverviewWnd* overview() const { return findWidget<COverviewWnd>(m_editor.get(), {}); }
    COverviewWnd* pressF2() {
        QTest::keyClick(m_editor.get(), Qt::Key_F2);
        return QTest::qWaitForWindowExposed(overview()) ? overview() : nullptr;
    }
    template <typename T> T* child(const QString& name) const {
        return findWidget<T>(m_editor.get(), name);
    }
    template <typename T> T* inOverview(const QString& name) const {
        return findWidget<T>(overview(), name);
    }
    QAbstractScrollArea* grid() const { return inOverview<QAbstractScrollArea>("grid"); }
    // Unscrolled: channel numbers 28 px wide, header 34 px high, cells 40 x 18 px.
    static QPoint cellCentre(int step, int channel) { return {8 + 40 * step, 43 + 18 * channel}; }
    QColor cellColour(int step, int channel) const {
        return grid()->viewport()->grab().toImage().pixelColor(cellCentre(step, channel));
    }
    QString status() const { return inOverview<QLabel>("statusLabel")->text(); }
    QString stepText() const { return child<QLineEdit>("stepEdit")->text(); }
    bool enabled(const char* name) const { return inOverview<QPushButton>(name)->isEnabled(); }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<tevra::CEditorDlg> m_editor;
};

// As the application runs the editor, modally: input comes through the window system, which
// drops it for windows that a modal window blocks.
void OverviewWindowTest::theOverviewFollowsAndDrivesTheModalEditor() {
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

    // F2 in a new editor opens the overview where it was when it closed with the editor.
    openEditor();
    QCOMPARE(pressF2()->size(), QSize(1000, 560));
    // The channel buttons show only bitmaps; a screen reader tells them and the sliders apart.
    QStringList names;
    for (const char* name : {"primary1", "secondary16", "stepSelector", "stepTimeSlider",
                             "dimmerSlider", "levelSlider"}) {
        names << child<QWidget>(name)->accessibleName();
    }
    QCOMPARE(names.join('|'), QStringLiteral("Канал 1|Канал 16, диммер|Номер шага|Время шага|"
                                             "Скорость диммера|Яркость"));
}

void OverviewWindowTest::followAndDriveTheEditor() {
    // The context menu's entry after About opens the overview, F2 raises it.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Обзор программы"));
        menu->actions()[1]->trigger();
        menu->close();
    });
    QWidget* label = child<QWidget>("number3");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, {2, 2}, label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &menuEvent);
    COverviewWnd* opened = overview();
    QCOMPARE(opened->windowTitle(), QStringLiteral("Обзор программы"));
    QVERIFY(QTest::qWaitForWindowActive(opened));
    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    QCOMPARE(pressF2(), opened);
    QCOMPARE(m_editor->findChildren<COverviewWnd*>().size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(opened));

    // A click moves the editor's step and channel; keys step and play.
    QTest::mouseClick(opened->windowHandle(), Qt::LeftButton, {},
                      grid()->viewport()->mapTo(opened, cellCentre(7, 11)));
    QCOMPARE(stepText(), QStringLiteral("7"));
    QCOMPARE(m_editor->focusWidget(), child<QWidget>("primary12"));
    QTest::keyClick(opened, Qt::Key_Right);
    QTest::keyClick(opened, Qt::Key_Right);
    QCOMPARE(stepText(), QStringLiteral("9"));
    QTest::keyClick(opened, Qt::Key_Left);
    QCOMPARE(stepText(), QStringLiteral("8"));
    inOverview<QComboBox>("speedCombo")->setCurrentIndex(3); // 4x: steps of 250 ms
    QTest::keyClick(opened, Qt::Key_Space);
    QVERIFY(enabled("pauseButton") && !enabled("playButton"));
    QTRY_VERIFY(status().startsWith(QStringLiteral("Шаг 9 из 20")));
    QTest::keyClick(opened, Qt::Key_Space);
    QVERIFY(!enabled("pauseButton") && enabled("playButton"));
    QTest::mouseClick(inOverview<QPushButton>("stopButton"), Qt::LeftButton);
    QVERIFY(!enabled("stopButton"));
    QCOMPARE(stepText(), QStringLiteral("8")); // playing moves nothing in the editor

    // Edits in the editor show at once, and the grid scrolls to the editor's step.
    QCOMPARE(cellColour(8, 4), QColor(Qt::black));
    QTest::mouseClick(child<tevra::TriStateBitmapButton>("primary5"), Qt::LeftButton);
    QCOMPARE(cellColour(8, 4), QColor(Qt::white));
    QTest::mouseClick(child<QPushButton>("undoButton"), Qt::LeftButton);
    QCOMPARE(cellColour(8, 4), QColor(Qt::black));
    QTest::mouseClick(child<QPushButton>("countPlus10Button"), Qt::LeftButton);
    QCOMPARE(status(), QStringLiteral("Шаг 8 из 30, время 0:07,0 из 0:30,0"));
    child<QSlider>("stepSelector")->setValue(30);
    QVERIFY(grid()->horizontalScrollBar()->value() > 0);
    QTest::mouseClick(child<QPushButton>("undoButton"), Qt::LeftButton);

    opened->resize(1000, 560);
    QTest::keyClick(m_editor.get(), Qt::Key_Escape);
    QVERIFY(!opened->isVisible());
}

QTEST_MAIN(OverviewWindowTest)
#include "OverviewWindowTest.moc"
