#pragma once

class QString;
class QWidget;

namespace orvane {

// The few message boxes the program shows, behind an interface so that tests
// answer them without a person.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;

    // Yes/No with the question icon; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A notice with an OK button.
    virtual void Inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Something the operator asked for did not happen: the warning icon.
    virtual void Warn(QWidget* parent, const QString& caption, const QString& text) = 0;
};

} // namespace orvane
