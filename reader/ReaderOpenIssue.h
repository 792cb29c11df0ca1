#pragma once

#include "ArticleTarget.h"
#include "FrmLeggiGiornale.h"
#include "platform/KeyAscii.h"
#include "platform/Screen.h"
#include "platform/SharedState.h"

#include <optional>

// TEMPORARY: stands in for FrmLeggiGiornale::openIssue until the reader has it, doing what the opening did before:
// the folder handed over through the shared state, the scan started as by Enter, the title, the target. Once the
// reader has openIssue, that is called and this file goes.
namespace ReaderOpenIssue {

template <typename Reader>
void openIssue(Reader& reader, const QString& folder, const QString& title, const QString& issueKey,
               const std::optional<ArticleTarget>& target) {
    if constexpr (requires { reader.openIssue(folder, title, issueKey, target); }) {
        reader.openIssue(folder, title, issueKey, target);
    } else {
        SharedState::instance().PercorsoTemp = folder;
        reader.setIssueKey(issueKey);
        reader.CboElencoGiornali_KeyPress(kKeyEnter);
        if (!Screen<Reader>::isLoaded() || !reader.isVisible())
            return; // no newspaper found: the reader has closed itself and shown the main menu
        reader.setWindowTitle(title);
        if (target)
            reader.openArticleAt(target->indexFile, target->code, target->offset, target->length);
    }
}

} // namespace ReaderOpenIssue
