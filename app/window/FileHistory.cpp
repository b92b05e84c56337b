#include "main.h"

#include "HistoryForm.h"
#include "HistoryRecorder.h"
#include "PageHistory.h"

// The history window is made at its first showing and lives with the main
// window, following its pages.
void TMainForm::ShowFileHistory()
{
    if (!historyForm_)
        historyForm_ = MakePageHistory(pages_, *PageControl, history_, this);
    ShowPageHistory(pages_, *PageControl, *historyForm_);
}

void TMainForm::RecordWaitingHistory()
{
    if (history_)
        history_->RecordWaiting();
}
