#pragma once

#include "ui/overview/GridEditor.h"

#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace tevra {

// The overview's grid commands as actions: their keys work anywhere in the window, and the
// context menu lists them. Each runs a GridEditor operation; the clipboard holds blocks as
// plain text and in the application's own format.
class GridActions : public QObject {
    Q_OBJECT

public:
    GridActions(GridEditor& editor, QWidget* window);

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    void fillMenu(QMenu& menu) const;
    // After any change in either window: the next entries' names and whether there are any.
    void updateUndoActions();

signals:
    // An action ran; the window shows the outcome and refreshes the editor if it changed.
    void done(const tevra::GridOutcome& outcome);

private:
    QAction* add(const QString& text, const QList<QKeySequence>& keys,
                 std::function<GridOutcome()> run);
    void buildActions();
    // Leaves the clipboard alone when there is nothing to copy.
    GridOutcome copyToClipboard();
    GridOutcome runPatternDialog();
    GridOutcome runTempoDialog();
    GridOutcome pasteFromClipboard(bool asSteps, int times);
    // Asks for a number; nothing when cancelled.
    std::optional<int> askNumber(const QString& label, int value, int minimum, int maximum,
                                 int step = 1);

    GridEditor& m_editor;
    QWidget* m_window;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QList<QAction*> m_clipboardActions;
    QList<QAction*> m_fillActions;
    QList<QAction*> m_shiftActions;
    QList<QAction*> m_stepActions;
    QList<QAction*> m_patternActions;
    QAction* m_selectAll = nullptr;
};

} // namespace tevra
