// rowstone-service: the local game service.
#include "FormRequests.h"
#include "HttpService.h"
#include "ModelLibrary.h"
#include "PasswordHasher.h"
#include "ServiceCommandLine.h"
#include "SqliteStorage.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

using namespace rowstone::service;

constexpr const char* kDatabaseFile = "rowstone.db";

bool OpenStorage(const std::string& folder, SqliteStorage& storage) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string error;
    if (!storage.Open(folder + "/" + kDatabaseFile, error)) {
        std::cerr << "rowstone-service: " << folder << "/" << kDatabaseFile << ": " << error
                  << "\n";
        return false;
    }
    return true;
}

int AddUser(const ServiceCommandLine& line) {
    SqliteStorage storage;
    if (!OpenStorage(line.dataFolder, storage)) {
        return 1;
    }
    const PasswordHasher hasher;
    const ModelLibrary models(ROWSTONE_DEFAULT_MODELS_DIR);
    FormRequests requests(storage, hasher, models);
    int64_t id = 0;
    std::string reason;
    if (!requests.Register(line.userName, line.password, id, reason, line.points)) {
        std::cerr << "rowstone-service: cannot add " << line.userName << ": " << reason << "\n";
        return 1;
    }
    std::cout << id << "\n";
    return 0;
}

// Signals are taken by one thread with sigwait, which then stops the
// server from ordinary code rather than from a signal handler.
sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

int Serve(const ServiceCommandLine& line) {
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    SqliteStorage storage;
    if (!OpenStorage(line.dataFolder, storage)) {
        return 1;
    }
    const PasswordHasher hasher;
    const ModelLibrary models(line.modelsFolder.empty() ? ROWSTONE_DEFAULT_MODELS_DIR
                                                        : line.modelsFolder);
    FormRequests requests(storage, hasher, models);
    HttpService service(storage, requests, models);
    const int port = service.Bind(line.host, line.port);
    if (port < 0) {
        std::cerr << "rowstone-service: cannot listen on " << line.host << ":" << line.port << "\n";
        return 1;
    }
    std::cout << "rowstone-service: listening on http://" << line.host << ":" << port << " (data "
              << line.dataFolder << ", models " << models.Folder() << ")" << std::endl;

    std::thread stopper([&service, signals] {
        int received = 0;
        sigwait(&signals, &received);
        service.Stop();
    });
    const bool served = service.Run();
    if (stopper.joinable()) {
        // Run ended by itself: wake the waiting thread so it can finish.
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    std::cerr << "rowstone-service: stopped\n";
    return served ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    ServiceCommandLine line;
    std::string error;
    if (!line.Parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::cerr << "rowstone-service: " << error << "\n" << ServiceCommandLine::Usage();
        return 2;
    }
    return line.mode == ServiceCommandLine::Mode::AddUser ? AddUser(line) : Serve(line);
}
