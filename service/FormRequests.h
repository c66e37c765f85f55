#pragma once

#include "AccountLimits.h"
#include "BoardUploadCheck.h"
#include "FormFields.h"
#include "ModelLibrary.h"
#include "PasswordHasher.h"
#include "ServiceReply.h"
#include "Storage.h"

namespace rowstone::service {

// The service's form requests: each takes the decoded fields of one POST
// and gives the reply. Nothing stored changes unless the request is valid
// and accepted.
class FormRequests {
public:
    static constexpr size_t kMaxAlipayAccountLength = 64;
    static constexpr size_t kMaxEmailLength = 128;
    static constexpr size_t kMaxFeedbackLength = 4000;
    static constexpr int64_t kMaxOrderQuantity = 99999999;

    FormRequests(Storage& storage, const PasswordHasher& hasher, const ModelLibrary& models)
        : storage_(storage), hasher_(hasher), uploadCheck_(models) {}

    ServiceReply Login(const FormFields& fields);
    ServiceReply PointQuery(const FormFields& fields);
    ServiceReply Payment(const FormFields& fields);
    ServiceReply ChallengeReport(const FormFields& fields);
    ServiceReply BoardUpload(const FormFields& fields);
    ServiceReply Withdrawal(const FormFields& fields);
    ServiceReply DataPurchase(const FormFields& fields);
    ServiceReply Feedback(const FormFields& fields);

    // Shared with the registration page: a new account, or the reason why not.
    // startingPoints, when given, replaces the service's starting balance.
    bool Register(const std::string& name, const std::string& password, int64_t& id,
                  std::string& reason, std::optional<int64_t> startingPoints = std::nullopt);

    static bool IsValidName(const std::string& name);
    bool CheckPassword(const Account& account, const std::string& password) const {
        return hasher_.Verify(account.passwordHash, password);
    }

private:
    // The account id of a request that carries "id" (or another key) and
    // "ses", when its session key is the account's current one.
    std::optional<int64_t> SignedInAccount(const FormFields& fields, const char* idKey,
                                           ServiceReply& refusal);

    Storage& storage_;
    const PasswordHasher& hasher_;
    BoardUploadCheck uploadCheck_;
};

} // namespace rowstone::service
