#include "FailureTables.h"

#include <gtest/gtest.h>

#include <string>

namespace rowstone {
namespace {

const FailureMessage kLoginUnknownUser{"用户不存在", "温馨提示"};
const FailureMessage kLoginWrongPassword{"用户名或密码错误", "温馨提示"};
const FailureMessage kPaymentSession{"非法操作，请勿在不同设备同时登录，也勿在不同软件同时多端登录",
                                     "请退出该客户端并重新登录"};
const FailureMessage kPaymentDatabase{"数据库出错，无法记录游戏状态", "温馨提示"};
const FailureMessage kWithdrawalSession{
    "非法提取，请勿在不同设备同时登录，也勿在不同软件同时多端登录", "请退出该客户端并重新登录"};
const FailureMessage kNoEnvelope{"抱歉，没有可提现红包", "温馨提示"};
const FailureMessage kPending{"您的提现申请已提交，请勿重复提交", "温馨提示"};
const FailureMessage kServiceError{"服务器出错，请稍后再试", "温馨提示"};
const FailureMessage kPurchaseSession{
    "非法购买，请勿在不同设备同时登录，也勿在不同软件同时多端登录", "请退出该客户端并重新登录"};
const FailureMessage kNotEnoughPoints{"积分不足，请充值", "温馨提示"};
const FailureMessage kNetwork{"网络故障，请确保网络畅通", "温馨提示"};

enum class Request { Login, GamePayment, Withdrawal, DataPurchase };

std::span<const FailureCode> TableOf(Request request) {
    switch (request) {
    case Request::Login:
        return kLoginFailures;
    case Request::GamePayment:
        return kGamePaymentFailures;
    case Request::Withdrawal:
        return kWithdrawalFailures;
    case Request::DataPurchase:
        return kDataPurchaseFailures;
    }
    return {};
}

struct FailureCase {
    Request request;
    std::string tail;
    FailureMessage expected;
};

class FailureReading : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureReading, TellsTheMessageOfTheRequestsCode) {
    const FailureCase& c = GetParam();
    const FailureMessage told = ReadFailure(TableOf(c.request), c.tail);
    EXPECT_EQ(told.text, c.expected.text);
    EXPECT_EQ(told.caption, c.expected.caption);
}

INSTANTIATE_TEST_SUITE_P(Codes, FailureReading,
                         testing::Values(
                             // Every code of every request, under the service's usual key.
                             FailureCase{Request::Login, "r=non", kLoginUnknownUser},
                             FailureCase{Request::Login, "r=psw", kLoginWrongPassword},
                             FailureCase{Request::GamePayment, "r=ses", kPaymentSession},
                             FailureCase{Request::GamePayment, "r=cha", kPaymentDatabase},
                             FailureCase{Request::Withdrawal, "r=ses", kWithdrawalSession},
                             FailureCase{Request::Withdrawal, "r=hb", kNoEnvelope},
                             FailureCase{Request::Withdrawal, "r=tx", kPending},
                             FailureCase{Request::Withdrawal, "r=app", kServiceError},
                             FailureCase{Request::DataPurchase, "r=ses", kPurchaseSession},
                             FailureCase{Request::DataPurchase, "r=jf", kNotEnoughPoints},
                             FailureCase{Request::DataPurchase, "r=app", kServiceError},
                             // Only the value counts, whatever the key.
                             FailureCase{Request::GamePayment, "x=ses", kPaymentSession},
                             FailureCase{Request::DataPurchase, "=jf", kNotEnoughPoints},
                             // The value must equal a code as a whole ...
                             FailureCase{Request::GamePayment, "r=ses2", kNetwork},
                             FailureCase{Request::DataPurchase, "a=b=jf", kNetwork},
                             FailureCase{Request::Withdrawal, "r=hb&x=1", kNetwork},
                             FailureCase{Request::Login, "r=non ", kNetwork},
                             // ... with exact letter case ...
                             FailureCase{Request::GamePayment, "r=SES", kNetwork},
                             FailureCase{Request::Login, "r=Psw", kNetwork},
                             // ... and be one that this request knows.
                             FailureCase{Request::Login, "r=ses", kNetwork},
                             FailureCase{Request::GamePayment, "r=jf", kNetwork},
                             FailureCase{Request::Withdrawal, "r=cha", kNetwork},
                             FailureCase{Request::DataPurchase, "r=hb", kNetwork},
                             // No reply value at all.
                             FailureCase{Request::Login, "", kNetwork},
                             FailureCase{Request::Withdrawal, "ses", kNetwork},
                             FailureCase{Request::DataPurchase, "r=", kNetwork}));

TEST(FailureReading, NoCodesMeansTheNetworkMessage) {
    EXPECT_EQ(ReadFailure({}, "r=ses"), kNetworkFailure);
    EXPECT_EQ(kNetworkFailure, kNetwork);
}

} // namespace
} // namespace rowstone
