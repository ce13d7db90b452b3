#include "support/FindWidget.h"
#include "ui/CEditorDlg.h"
#include "ui/COverviewWnd.h"
#include "ui/GridLayout.h"
#include "ui/TriStateBitmapButton.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using tevra::CEditorDlg;
using tevra::COverviewWnd;
using tevra::GridLayout;

class OverviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void f2OpensTheOverviewAgainRaisesItAndTheEditorClosesIt();
    void contextMenuOpensTheOverview();
    void anEditInTheEditorShowsInTheOverview();
    void aClickInTheOverviewMovesTheEditorsStepAndChannel();
    void keysInTheOverviewStepAndPlay();
    void channelControlsHaveAccessibleNames();
    void theOverviewKeepsItsPlace();

private:
    void clickACellWhileTheEditorRunsModally();
    template <typename T> T* child(const QString& name) const {
        return tevra::findWidget<T>(m_editor.get(), name);
    }
    COverviewWnd* overview() const { return m_editor->findChild<COverviewWnd*>(); }
    COverviewWnd* openOverview() {
        QTest::keyClick(m_editor.get(), Qt::Key_F2);
        COverviewWnd* opened = overview();
        if (opened == nullptr || !QTest::qWaitForWindowExposed(opened)) {
            qFatal("no overview");
        }
        return opened;
    }
    QWidget* gridViewport() const {
        return tevra::findWidget<QAbstractScrollArea>(overview(), "grid")->viewport();
    }
    // The middle of a cell in the grid as first shown, scrolled to its start.
    static QPoint cellCentre(int step, int channel) {
        return {GridLayout::kLabelWidthPx + (step - 1) * GridLayout::kUniformColumnWidthPx +
                    GridLayout::kUniformColumnWidthPx / 2,
                GridLayout::rowTop(channel) + GridLayout::kRowHeightPx / 2};
    }
    QColor cellColour(int step, int channel) const {
        return gridViewport()->grab().toImage().pixelColor(cellCentre(step, channel));
    }
    QString status() const { return tevra::findWidget<QLabel>(overview(), "statusLabel")->text(); }
    QString stepText() const { return child<QLineEdit>("stepEdit")->text(); }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<CEditorDlg> m_editor;
};

void OverviewWindowTest::initTestCase() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void OverviewWindowTest::init() {
    m_editor = std::make_unique<CEditorDlg>();
    m_editor->show();
    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
}

void OverviewWindowTest::cleanup() {
    m_editor.reset();
}

void OverviewWindowTest::f2OpensTheOverviewAgainRaisesItAndTheEditorClosesIt() {
    QCOMPARE(overview(), nullptr);
    COverviewWnd* opened = openOverview();
    QVERIFY(opened->isWindow());
    QCOMPARE(opened->windowTitle(), QStringLiteral("Обзор программы"));
    QVERIFY(QTest::qWaitForWindowActive(opened));

    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    QCOMPARE(openOverview(), opened);
    QCOMPARE(m_editor->findChildren<COverviewWnd*>().size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(opened));

    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    QTest::keyClick(m_editor.get(), Qt::Key_Escape);
    QVERIFY(!m_editor->isVisible());
    QVERIFY(!opened->isVisible());
}

void OverviewWindowTest::contextMenuOpensTheOverview() {
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Обзор программы"));
        menu->actions()[1]->trigger();
        menu->close();
    });
    QWidget* label = child<QWidget>("number3");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &event);
    QVERIFY(overview() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(overview()));
}

void OverviewWindowTest::anEditInTheEditorShowsInTheOverview() {
    openOverview();
    QCOMPARE(cellColour(1, 4), QColor(Qt::black));
    QCOMPARE(status(), QStringLiteral("Шаг 1 из 20, время 0:00,0 из 0:20,0"));

    QTest::mouseClick(child<tevra::TriStateBitmapButton>("primary5"), Qt::LeftButton);
    QCOMPARE(cellColour(1, 4), QColor(Qt::white));
    QTest::mouseClick(child<QPushButton>("countPlus10Button"), Qt::LeftButton);
    QCOMPARE(status(), QStringLiteral("Шаг 1 из 30, время 0:00,0 из 0:30,0"));
    QTest::mouseClick(child<QPushButton>("undoButton"), Qt::LeftButton);
    QCOMPARE(cellColour(1, 4), QColor(Qt::black));
}

// Run as the application runs the editor, modally: the click comes through the window system,
// which drops input to windows that a modal window blocks.
void OverviewWindowTest::aClickInTheOverviewMovesTheEditorsStepAndChannel() {
    bool clicked = false;
    QTimer::singleShot(0, [this, &clicked] {
        clickACellWhileTheEditorRunsModally();
        clicked = !QTest::currentTestFailed();
        m_editor->reject();
    });
    // Modality takes hold when the window is shown, as the application shows it.
    m_editor->hide();
    m_editor->exec();
    QVERIFY(clicked);
}

void OverviewWindowTest::clickACellWhileTheEditorRunsModally() {
    const tevra::ProgramImage before = m_editor->workingImage();
    COverviewWnd* opened = openOverview();
    const QPoint cell = gridViewport()->mapTo(opened, cellCentre(7, 11));
    QTest::mouseClick(opened->windowHandle(), Qt::LeftButton, {}, cell);
    QCOMPARE(stepText(), QStringLiteral("7"));
    QCOMPARE(child<QSlider>("stepSelector")->value(), 7);
    QVERIFY(child<QLabel>("marker12")->isVisible());
    QVERIFY(!child<QLabel>("marker1")->isVisible());
    QCOMPARE(m_editor->focusWidget(), child<QWidget>("primary12"));
    QVERIFY(m_editor->workingImage() == before);
    QVERIFY(m_editor->presenter().model().undoImage() == before);
    QCOMPARE(m_editor->presenter().lastRefreshPasses(), 1);
    QCOMPARE(status(), QStringLiteral("Шаг 7 из 20, время 0:06,0 из 0:20,0"));
}

void OverviewWindowTest::keysInTheOverviewStepAndPlay() {
    COverviewWnd* opened = openOverview();
    QTest::keyClick(opened, Qt::Key_Right);
    QTest::keyClick(opened, Qt::Key_Right);
    QTest::keyClick(opened, Qt::Key_Left);
    QCOMPARE(stepText(), QStringLiteral("2"));

    auto* pause = tevra::findWidget<QPushButton>(opened, "pauseButton");
    auto* play = tevra::findWidget<QPushButton>(opened, "playButton");
    QTest::keyClick(opened, Qt::Key_Space);
    QVERIFY(pause->isEnabled() && !play->isEnabled());
    QTest::keyClick(opened, Qt::Key_Space);
    QVERIFY(!pause->isEnabled() && play->isEnabled());
    QTest::mouseClick(tevra::findWidget<QPushButton>(opened, "stopButton"), Qt::LeftButton);
    QVERIFY(!tevra::findWidget<QPushButton>(opened, "stopButton")->isEnabled());
    // Playing moves nothing in the editor.
    QCOMPARE(stepText(), QStringLiteral("2"));
}

void OverviewWindowTest::channelControlsHaveAccessibleNames() {
    for (int channel = 1; channel <= tevra::kChannelCount; ++channel) {
        QCOMPARE(child<QWidget>(QStringLiteral("primary%1").arg(channel))->accessibleName(),
                 QStringLiteral("Канал %1").arg(channel));
        QCOMPARE(child<QWidget>(QStringLiteral("secondary%1").arg(channel))->accessibleName(),
                 QStringLiteral("Канал %1, диммер").arg(channel));
    }
    const std::pair<const char*, const char*> sliders[] = {{"stepSelector", "Номер шага"},
                                                           {"stepTimeSlider", "Время шага"},
                                                           {"dimmerSlider", "Скорость диммера"},
                                                           {"levelSlider", "Яркость"}};
    for (const auto& [name, accessible] : sliders) {
        QCOMPARE(child<QSlider>(name)->accessibleName(), QString::fromUtf8(accessible));
    }
}

void OverviewWindowTest::theOverviewKeepsItsPlace() {
    const QSize size(1000, 560);
    openOverview()->resize(size);
    overview()->close();
    m_editor = std::make_unique<CEditorDlg>();
    m_editor->show();
    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    QCOMPARE(openOverview()->size(), size);
}

QTEST_MAIN(OverviewWindowTest)
#include "OverviewWindowTest.moc"
