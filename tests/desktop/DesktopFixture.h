#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rowstone::test {

// The bytes of a model for a grid of width x height and the given connect
// length, with layerCount - 1 file layers whose only pattern is wider than
// the grid: the computer then plays at random (repeatably after
// SeedRandom), while wins are still found by the built-in line layer.
std::vector<uint8_t> RandomPlayerModel(int width, int height, int connectLength, int layerCount);

// A folder of model files served by the service fixture.
class ModelFolder {
public:
    ModelFolder();
    QString Path() const { return folder.path(); }
    void Write(int number, const std::vector<uint8_t>& bytes) const;
    void Remove(int number) const;

private:
    QTemporaryDir folder;
};

// The local game service, started on 127.0.0.1 at a free port with a fresh
// data folder, and stopped when the fixture goes.
class ServiceFixture {
public:
    explicit ServiceFixture(const QString& modelsFolder);
    ~ServiceFixture();
    ServiceFixture(const ServiceFixture&) = delete;
    ServiceFixture& operator=(const ServiceFixture&) = delete;

    bool Running() const { return running; }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
    QString DataFolder() const { return data.path(); }

    // Creates an account through the service's command line; returns its id
    // (or -1).
    int AddUser(const QString& name, const QString& password, int points);

    // The lines the service has logged so far (one per request).
    QStringList LogLines();
    // The rows of a query on the service's database, each row's columns
    // joined by "|" (read-only; the service keeps running).
    QStringList Query(const QString& sql) const;

    // From now on RequestsTo counts only requests made after this call.
    void StartCounting();
    // How many requests to path the service has seen since StartCounting.
    int RequestsTo(const QString& path);

private:
    QTemporaryDir data;
    QProcess process;
    QByteArray log;
    int port = 0;
    bool running = false;
    qsizetype countFrom = 0;
};

// The account values of a direct login, for pages tested without the
// main window.
struct Account {
    int userId = -1;
    QString loginExtra;
    int points = 0;
    QString sessionKey;
};
Account LoginDirect(const QString& serviceUrl, const QString& name, const QString& password);

// Pays for a challenge and reports it won, as the game page would: the
// service then owes the player a red envelope. False when either request
// fails.
bool WinChallenge(const QString& serviceUrl, const Account& account);

// A loopback address where nothing listens, for requests that must fail.
QString UnusedAddress();

// Called before the application object exists (a test class's initMain):
// unless QT_QPA_PLATFORM says otherwise, the tests then draw on the X
// display when there is one (Xvfb under the test script), so that the web
// views render as they do for the player, and off screen otherwise.
void UseXDisplayWhenThere();

// Runs action on the first modal dialog that opens after this call (for
// instance the login dialog), from the event loop.
void WhenModalOpens(const std::function<void(QWidget*)>& action);

} // namespace rowstone::test
