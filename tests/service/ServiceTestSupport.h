#pragma once

#include "FormFields.h"
#include "FormRequests.h"
#include "ModelLibrary.h"
#include "PasswordHasher.h"
#include "SqliteStorage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace rowstone::service::test {

inline FormFields Fields(const std::string& body) {
    FormFields fields;
    EXPECT_TRUE(fields.Decode(body)) << body;
    return fields;
}

// A fresh database in a temporary folder, the requests on top of it and the
// models built with the project.
class ServiceFixture : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("rowstone-service-test-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::string error;
        ASSERT_TRUE(storage_.Open((folder_ / "rowstone.db").string(), error)) << error;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    int64_t AddAccount(const std::string& name, const std::string& password, int64_t points) {
        int64_t id = 0;
        std::string reason;
        EXPECT_TRUE(requests_.Register(name, password, id, reason, points)) << reason;
        return id;
    }

    // Logs in and returns the session key.
    std::string Login(const std::string& name, const std::string& password) {
        const ServiceReply reply = requests_.Login(Fields("name=" + name + "&psw=" + password));
        EXPECT_EQ(reply.body.substr(0, 2), "1&") << reply.body;
        return reply.body.substr(reply.body.rfind("ses=") + 4);
    }

    std::filesystem::path folder_;
    SqliteStorage storage_;
    PasswordHasher hasher_{PasswordHasher::Cost::Minimum};
    ModelLibrary models_{ROWSTONE_MODELS_DIR};
    FormRequests requests_{storage_, hasher_, models_};
};

} // namespace rowstone::service::test
