#pragma once

#include "FailureTables.h"

#include <QString>

#include <span>
#include <string>

class QWidget;

namespace rowstone {

class CHttpClient;

// Posts an order form of the personal centre (a withdrawal, a data
// purchase) while owner waits, then tells the player how it went: the
// accepted text, or the message failures gives for the reply. True when the
// service accepted the order.
bool SubmitOrder(QWidget* owner, CHttpClient& client, const std::string& address,
                 const std::string& body, const QString& acceptedText,
                 std::span<const FailureCode> failures);

} // namespace rowstone
