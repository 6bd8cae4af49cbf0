#pragma once
// Answers the view's dialogs from a script and remembers what was asked.

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "ui/dialogs.h"

namespace qf::testing_support {

class FakeDialogs : public Dialogs {
public:
    std::deque<QString> openAnswers;  // an empty deque answers "cancelled"
    std::deque<QString> saveAnswers;
    // The filter entry each save is given under; empty: the one offered.
    std::deque<int> filterAnswers;
    std::optional<uint32_t> colourAnswer;
    std::optional<QFont> fontAnswer;

    std::deque<int> choiceAnswers;    // empty: the question is closed (escape)
    std::deque<QString> textAnswers;  // empty, or a null QString: cancelled
    // The PDF page dialog's answers: empty, or nothing, is cancelled.
    std::deque<std::optional<PdfPageChoice>> pdfPageAnswers;
    std::vector<QString> pdfPageFiles;  // the PDFs the page was asked of
    std::vector<QString> textLabels;
    std::vector<QString> questions;

    std::vector<FileDialogRequest> saveRequests;
    std::vector<QString> messages;
    std::vector<MessageIcon> messageIcons;

    QString openFile(QWidget*, const FileDialogRequest&) override { return next(openAnswers); }
    QString saveFile(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }
    SaveAnswer saveFileAnswer(QWidget* parent, const FileDialogRequest& request) override {
        SaveAnswer a{saveFile(parent, request), request.filterIndex};
        if (!filterAnswers.empty()) {
            a.filterIndex = filterAnswers.front();
            filterAnswers.pop_front();
        }
        return a;
    }
    void message(QWidget*, const QString& text, MessageIcon icon) override {
        messages.push_back(text);
        messageIcons.push_back(icon);
    }
    int choose(QWidget*, const QString& text, const QStringList&, int, int escape) override {
        questions.push_back(text);
        if (choiceAnswers.empty()) return escape;
        const int a = choiceAnswers.front();
        choiceAnswers.pop_front();
        return a;
    }
    std::optional<QString> text(QWidget*, const QString&, const QString& label) override {
        textLabels.push_back(label);
        const QString a = next(textAnswers);
        if (a.isNull()) return std::nullopt;
        return a;
    }
    std::optional<PdfPageChoice> pdfPage(QWidget*, const QString& path,
                                         const PdfPageChoice&) override {
        pdfPageFiles.push_back(path);
        if (pdfPageAnswers.empty()) return std::nullopt;
        const std::optional<PdfPageChoice> a = pdfPageAnswers.front();
        pdfPageAnswers.pop_front();
        return a;
    }
    std::optional<uint32_t> colour(QWidget*, uint32_t) override { return colourAnswer; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return fontAnswer; }

private:
    static QString next(std::deque<QString>& answers) {
        if (answers.empty()) return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace qf::testing_support
