#include "OrderSubmission.h"

#include "CHttpClient.h"
#include "MessageBoxes.h"
#include "QtUtf8.h"
#include "WaitForRequest.h"

namespace rowstone {

bool SubmitOrder(QWidget* owner, CHttpClient& client, const std::string& address,
                 const std::string& body, const QString& acceptedText,
                 std::span<const FailureCode> failures) {
    RequestResult result = RequestResult::Failed;
    ui::WaitForRequest(owner, [&] { result = client.PostForm(address, body); });
    if (result == RequestResult::Ok) {
        ui::ShowInfo(owner, acceptedText, ui::FromUtf8(kNoticeCaption));
        return true;
    }
    const FailureMessage message = ReadFailure(failures, client.replyTail());
    ui::ShowInfo(owner, ui::FromUtf8(message.text), ui::FromUtf8(message.caption));
    return false;
}

} // namespace rowstone
