#include "NotificationText.h"

#include "AuditionComputer.h"
#include "MessageIds.h"
#include "StringTable.h"
#include "TARNTool.h"

namespace {

std::string Line(unsigned labelId, const std::string& value) {
    return LoadTarnString(labelId) + " " + value + "\n";
}

} // namespace

std::string ComposeNotificationText(const NotificationJob& job) {
    const DBAudition& audition = job.Audition.Definition;
    const DBHEvent& signal = job.Audition.Signal;
    std::string text =
        "\n" + LoadTarnString(IDS_NOTIFICATION_SUBJECT) + " (" + audition.NAME + ")\n\n";
    // The date is formatted with a leading blank of its own: two blanks follow the label.
    text += Line(IDS_LABEL_DATE, " " + TimeStampToDisplayText(signal.DATE));
    if (!signal.COMPUTER.empty())
        text += Line(IDS_LABEL_COMPUTER, signal.COMPUTER);
    if (static_cast<AuditionType>(audition.AUDITION_TYPE) == AuditionType::NTEvtLog) {
        text += Line(IDS_LABEL_SOURCE, signal.SOURCE_NAME);
        text += Line(IDS_LABEL_CATEGORY, std::to_string(static_cast<uint32_t>(signal.CATEGORY)));
        text += Line(IDS_LABEL_EVENT, signal.INFO_ID);
    }
    text += Line(IDS_LABEL_DESCRIPTION, signal.EVENT_DESCRIPTION);
    text += Line(IDS_LABEL_STATUS, GetNotifyStageText(static_cast<NotifyStage>(job.Stage)));
    return text;
}

std::string ComposeShortText(const NotificationJob& job) {
    const DBAudition& audition = job.Audition.Definition;
    std::string text = "TARN!: " + audition.NAME;
    const std::string computer = AuditionComputerOf(audition);
    if (!computer.empty())
        text += " " + computer;
    text += " " + GetNotifyStageText(static_cast<NotifyStage>(job.Stage));
    text += " " + job.Audition.Signal.EVENT_DESCRIPTION;
    return text;
}
