#pragma once

#include "ui/dialogs/PatternForm.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace tevra {

class CellValuePicker;
class PatternPreview;
class TempoBox;

// "Узор": a pattern over the selected cells with a live preview. All rules live in
// PatternForm; the caller writes generation() after Accepted, as one undo entry.
class CPatternDlg : public QDialog {
    Q_OBJECT

public:
    CPatternDlg(const ProgramImage& program, const CellRange& range, QWidget* parent = nullptr);

    Generation generation() const { return m_form.generation(); }
    std::string editName() const { return m_form.editName(); }
    const PatternForm& form() const { return m_form; }

private:
    void buildWidgets();
    void onChanged();

    PatternForm m_form;
    QComboBox* m_pattern = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_gap = nullptr;
    QSpinBox* m_density = nullptr;
    QSpinBox* m_seed = nullptr;
    CellValuePicker* m_on = nullptr;
    CellValuePicker* m_off = nullptr;
    QCheckBox* m_background = nullptr;
    QComboBox* m_order = nullptr;
    QGroupBox* m_tempoGroup = nullptr;
    TempoBox* m_tempo = nullptr;
    PatternPreview* m_preview = nullptr;
    QLabel* m_refusal = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace tevra
