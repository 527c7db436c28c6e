#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/qt/IFileDialogs.h"

namespace orvane::test {

// Answers the file dialogs from scripted queues (an empty queue cancels) and
// records what each dialog was asked to show.
class FakeFileDialogs final : public IFileDialogs {
public:
    std::optional<FileDialogAnswer> SaveFile(QWidget*, const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return Next(saveAnswers);
    }
    std::optional<FileDialogAnswer> OpenFile(QWidget*, const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return Next(openAnswers);
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString& title, const QString&) override
    {
        folderTitles.push_back(title);
        return Next(folderAnswers);
    }

    std::deque<std::optional<FileDialogAnswer>> saveAnswers;
    std::deque<std::optional<FileDialogAnswer>> openAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<FileDialogRequest> openRequests;
    std::vector<QString> folderTitles;

private:
    template <typename T> static std::optional<T> Next(std::deque<std::optional<T>>& answers)
    {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<T> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace orvane::test
