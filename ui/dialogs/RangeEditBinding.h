#pragma once

#include "ui/dialogs/RangeEdits.h"

#include <QLineEdit>
#include <array>
#include <cstddef>

namespace tevra {

// Shows an edit's mirrored text and selection without reporting a change back.
void showEditText(QLineEdit& edit, const EditText& shown);
// The selection as start and end; both are the caret when nothing is selected.
void readEditSelection(const QLineEdit& edit, int& start, int& end);

// Ties a range form to its line edits: forwards every text change with the current
// selections and shows the form's texts and carets afterwards.
template <typename Form> class RangeEditBinding {
public:
    using Field = typename Form::Field;
    using Edits = std::array<QLineEdit*, Form::kFieldCount>;

    explicit RangeEditBinding(Form& form) : m_form(form) {}
    RangeEditBinding(const RangeEditBinding&) = delete;
    RangeEditBinding& operator=(const RangeEditBinding&) = delete;

    // edits in the form's field order; the connections end with context.
    void bind(const Edits& edits, QObject* context) {
        m_edits = edits;
        for (std::size_t i = 0; i < m_edits.size(); ++i) {
            const auto field = static_cast<Field>(i);
            QObject::connect(m_edits[i], &QLineEdit::textChanged, context,
                             [this, field](const QString& text) { forward(field, text); });
        }
    }

    void show() const {
        for (std::size_t i = 0; i < m_edits.size(); ++i) {
            showEditText(*m_edits[i], m_form.edit(static_cast<Field>(i)));
        }
    }

private:
    void forward(Field field, const QString& text) {
        // Selections move without text changes; the form needs the current ones.
        int start = 0;
        int end = 0;
        for (std::size_t i = 0; i < m_edits.size(); ++i) {
            readEditSelection(*m_edits[i], start, end);
            m_form.setSelection(static_cast<Field>(i), start, end);
        }
        readEditSelection(*m_edits[static_cast<std::size_t>(field)], start, end);
        m_form.editChanged(field, text.toStdU16String(), start, end);
        show();
    }

    Form& m_form;
    Edits m_edits{};
};

} // namespace tevra
