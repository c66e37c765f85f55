#include "FormRequests.h"

#include <climits>

namespace rowstone::service {

namespace {

constexpr int64_t kMaxId = INT32_MAX;

bool HasReservedCharacter(const std::string& text) {
    return text.find_first_of("&=+") != std::string::npos;
}

// Counts UTF-8 code points; false for bytes that are not valid UTF-8 lead
// or continuation bytes.
bool CodePoints(const std::string& text, size_t& count) {
    count = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80         ? 1
                              : (lead >> 5) == 6  ? 2
                              : (lead >> 4) == 14 ? 3
                              : (lead >> 3) == 30 ? 4
                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) {
                return false;
            }
        }
        i += length;
        ++count;
    }
    return true;
}

bool IsKnownState(int64_t state) {
    return state >= -3 && state <= 1;
}

} // namespace

bool FormRequests::IsValidName(const std::string& name) {
    size_t length = 0;
    return CodePoints(name, length) && length >= 1 && length <= kMaxNameLength &&
           !HasReservedCharacter(name) && name.find_first_of(" \t\r\n") != 0 &&
           name.find_last_of(" \t\r\n") != name.size() - 1;
}

bool FormRequests::Register(const std::string& name, const std::string& password, int64_t& id,
                            std::string& reason, std::optional<int64_t> startingPoints) {
    if (!IsValidName(name)) {
        reason = "用户名须为1到32个字符，且不能含有&、=、+";
        return false;
    }
    if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength) {
        reason = "密码须为6到64个字符";
        return false;
    }
    std::string hash;
    if (!hasher_.Hash(password, hash)) {
        reason = "服务器出错，请稍后再试";
        return false;
    }
    switch (storage_.CreateAccount(name, hash,
                                   startingPoints.value_or(storage_.Rules().startingPoints), id)) {
    case CreateAccountResult::Created:
        return true;
    case CreateAccountResult::NameTaken:
        reason = "该用户名已被注册";
        return false;
    case CreateAccountResult::Failed:
        break;
    }
    reason = "服务器出错，请稍后再试";
    return false;
}

std::optional<int64_t> FormRequests::SignedInAccount(const FormFields& fields, const char* idKey,
                                                     ServiceReply& refusal) {
    const std::optional<int64_t> id = fields.Integer(idKey, 1, kMaxId);
    const std::optional<std::string> session = fields.Text("ses");
    if (!id || !session) {
        refusal = ServiceReply::Refusal(codes::kBadRequest);
        return std::nullopt;
    }
    if (!storage_.SessionMatches(*id, *session)) {
        refusal = ServiceReply::Refusal(codes::kSession);
        return std::nullopt;
    }
    return id;
}

ServiceReply FormRequests::Login(const FormFields& fields) {
    const std::optional<std::string> name = fields.Text("name");
    const std::optional<std::string> password = fields.Text("psw");
    if (!name || !password) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    const std::optional<Account> account = storage_.FindAccount(*name);
    if (!account) {
        return ServiceReply::Refusal(codes::kNoUser);
    }
    if (!hasher_.Verify(account->passwordHash, *password)) {
        return ServiceReply::Refusal(codes::kPassword);
    }
    const std::string session = NewSessionKey();
    const std::optional<int64_t> points = storage_.Balance(account->id);
    if (session.empty() || !points || !storage_.StartSession(account->id, session)) {
        return ServiceReply::Refusal(codes::kServiceFailed);
    }
    return ServiceReply::Success({{"id", std::to_string(account->id)},
                                  {"name", account->name},
                                  {"point", std::to_string(*points)},
                                  {"ses", session}});
}

ServiceReply FormRequests::PointQuery(const FormFields& fields) {
    ServiceReply refusal;
    const std::optional<int64_t> id = SignedInAccount(fields, "id", refusal);
    if (!id) {
        return refusal;
    }
    const std::optional<int64_t> points = storage_.Balance(*id);
    if (!points) {
        return ServiceReply::Refusal(codes::kServiceFailed);
    }
    return ServiceReply::Success({{"point", std::to_string(*points)}});
}

ServiceReply FormRequests::Payment(const FormFields& fields) {
    ServiceReply refusal;
    const std::optional<int64_t> id = SignedInAccount(fields, "id", refusal);
    if (!id) {
        return refusal;
    }
    int64_t gameId = 0;
    switch (storage_.PayForGame(*id, storage_.Rules().gamePrice, gameId)) {
    case PaymentResult::Paid:
        return ServiceReply::Success({{"gid", std::to_string(gameId)}});
    case PaymentResult::NotEnoughPoints:
        return ServiceReply::Refusal(codes::kPoints);
    case PaymentResult::Failed:
        break;
    }
    return ServiceReply::Refusal(codes::kNotRecorded);
}

ServiceReply FormRequests::ChallengeReport(const FormFields& fields) {
    ServiceReply refusal;
    const std::optional<int64_t> id = SignedInAccount(fields, "uid", refusal);
    if (!id) {
        return refusal;
    }
    const std::optional<int64_t> gameId = fields.Integer("gid", 1, INT64_MAX);
    const std::optional<int64_t> state = fields.Integer("state", -3, 1);
    if (!gameId || !state || !IsKnownState(*state)) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    std::optional<int64_t> reward;
    switch (storage_.ReportChallenge(*id, *gameId, static_cast<int>(*state),
                                     storage_.Rules().reward, reward)) {
    case ReportResult::Reported:
        if (reward) {
            return ServiceReply::Success({{"hb", std::to_string(*reward)}});
        }
        return ServiceReply::Success();
    case ReportResult::UnknownChallenge:
        return ServiceReply::Refusal(codes::kUnknownGame);
    case ReportResult::AlreadyReported:
        return ServiceReply::Refusal(codes::kReported);
    case ReportResult::Failed:
        break;
    }
    return ServiceReply::Refusal(codes::kServiceFailed);
}

ServiceReply FormRequests::BoardUpload(const FormFields& fields) {
    const std::optional<std::string> session = fields.Text("ses");
    const std::optional<int64_t> connect =
        fields.Integer("ind", ModelLibrary::kFirstConnectLength, ModelLibrary::kLastConnectLength);
    const std::optional<int64_t> length = fields.Integer("len", 1, BoardUploadCheck::kMaxMoves);
    const std::optional<int64_t> firstSide = fields.Integer("tpf", -1, 1);
    const std::optional<int64_t> width = fields.Integer("w", 1, 100);
    const std::optional<std::string> data = fields.Text("data");
    if (!session || !connect || !length || !firstSide || *firstSide == 0 || !width || !data) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    const std::optional<int64_t> account = storage_.AccountOfSession(*session);
    if (!account) {
        return ServiceReply::Refusal(codes::kSession);
    }
    rowstone::service::BoardUpload upload;
    upload.userId = *account;
    upload.connectLength = static_cast<int>(*connect);
    upload.width = static_cast<int>(*width);
    upload.firstSide = static_cast<int>(*firstSide);
    std::string reason;
    if (!uploadCheck_.Check(*data, static_cast<int>(*length), upload, reason)) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    return storage_.StoreUpload(upload) ? ServiceReply::Success()
                                        : ServiceReply::Refusal(codes::kServiceFailed);
}

ServiceReply FormRequests::Withdrawal(const FormFields& fields) {
    ServiceReply refusal;
    const std::optional<int64_t> id = SignedInAccount(fields, "id", refusal);
    if (!id) {
        return refusal;
    }
    const std::optional<std::string> alipay = fields.Text("zfb");
    if (!alipay || alipay->empty() || alipay->size() > kMaxAlipayAccountLength ||
        HasReservedCharacter(*alipay)) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    int64_t amount = 0;
    switch (storage_.RequestWithdrawal(*id, *alipay, amount)) {
    case WithdrawalResult::Requested:
        return ServiceReply::Success({{"amount", std::to_string(amount)}});
    case WithdrawalResult::NoEnvelope:
        return ServiceReply::Refusal(codes::kNoEnvelope);
    case WithdrawalResult::AlreadyPending:
        return ServiceReply::Refusal(codes::kPending);
    case WithdrawalResult::Failed:
        break;
    }
    return ServiceReply::Refusal(codes::kServiceFailed);
}

ServiceReply FormRequests::DataPurchase(const FormFields& fields) {
    ServiceReply refusal;
    const std::optional<int64_t> id = SignedInAccount(fields, "id", refusal);
    if (!id) {
        return refusal;
    }
    const std::optional<std::string> email = fields.Text("ema");
    const std::optional<int64_t> total = fields.Integer("pri", 1, INT64_MAX);
    if (!email || email->empty() || email->size() > kMaxEmailLength ||
        email->find('@') == std::string::npos || HasReservedCharacter(*email) || !total) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    OrderQuantities quantities{};
    int64_t sum = 0;
    for (int row = kFirstRowLength; row <= kLastRowLength; ++row) {
        const std::optional<int64_t> quantity =
            fields.Integer("l" + std::to_string(row), 0, kMaxOrderQuantity);
        if (!quantity) {
            return ServiceReply::Refusal(codes::kBadRequest);
        }
        quantities[static_cast<size_t>(row - kFirstRowLength)] = *quantity;
        sum += *quantity;
    }
    if (sum != *total) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    switch (storage_.PlaceOrder(*id, *email, *total, quantities)) {
    case OrderResult::Placed:
        return ServiceReply::Success();
    case OrderResult::NotEnoughPoints:
        return ServiceReply::Refusal(codes::kPoints);
    case OrderResult::Failed:
        break;
    }
    return ServiceReply::Refusal(codes::kServiceFailed);
}

ServiceReply FormRequests::Feedback(const FormFields& fields) {
    const std::optional<int64_t> id = fields.Integer("id", 0, kMaxId);
    const std::optional<std::string> text = fields.Text("probs");
    size_t length = 0;
    if (!id || !text || text->empty() || !CodePoints(*text, length) ||
        length > kMaxFeedbackLength) {
        return ServiceReply::Refusal(codes::kBadRequest);
    }
    return storage_.StoreFeedback(*id, *text) ? ServiceReply::Success()
                                              : ServiceReply::Refusal(codes::kServiceFailed);
}

} // namespace rowstone::service
