#pragma once

#include <QString>
#include <QStringList>

#include "app/qt/IMessageBoxes.h"

namespace orvane::test {

// Answers every question with `answer` and records what was shown.
class FakeMessageBoxes final : public IMessageBoxes {
public:
    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override
    {
        questions << caption + QStringLiteral("|") + text;
        return answer;
    }
    void Inform(QWidget*, const QString&, const QString& text) override { notices << text; }
    void Warn(QWidget*, const QString&, const QString& text) override { notices << text; }

    bool answer = false;
    QStringList questions;
    QStringList notices;
};

} // namespace orvane::test
