#pragma once

#include "CGameBoard.h"
#include "GamePageHost.h"
#include "RequestResult.h"

#include <QString>
#include <memory>
#include <string>
#include <string_view>

namespace rowstone {

class CHttpClient;
class FormBody;

// The rules of the game page, apart from its widgets: choosing the game
// type and the layer count, paying for a game, the turns with their two
// timers, the end of a game with its report, reward and upload, and the
// model download. The page forwards its clicks, ticks and selections here.
class CGameFlow {
public:
    static constexpr int kCountdownTimer = 1;
    static constexpr int kComputerTimer = 2;
    static constexpr int kCountdownPeriodMs = 1000;
    static constexpr int kComputerDelayMs = 500;
    static constexpr int kSecondsPerMove = 200;
    static constexpr int kGamePrice = 20;
    static constexpr int kGameTypeCount = 13;
    static constexpr int kStartConnectLength = 5;

    // Report states of a challenge.
    static constexpr int kPlayerWon = 1;
    static constexpr int kComputerWon = -1;
    static constexpr int kDraw = 0;
    static constexpr int kResigned = -2;
    static constexpr int kTimedOut = -3;

    CGameFlow(GamePageHost& host, QString serviceUrl);
    ~CGameFlow();
    CGameFlow(const CGameFlow&) = delete;
    CGameFlow& operator=(const CGameFlow&) = delete;

    // The page's set-up: creates the board, fetches and loads the
    // five-in-a-row model and fills the three boxes.
    void Init();
    // Lays the board out and draws it with its stones.
    void DrawBoard();

    void OnBoardClick(int x, int y);
    void OnBoardHover(int x, int y);
    void OnTimer(int id);
    void OnGameTypeSelected(int index);
    void OnLayerSelected(int index);
    void StartGame();
    void Resign();
    void StopGame();
    void TearDown();

    bool BeginPlay();
    void FinishGame();
    bool ReportChallenge(int state);
    bool UploadBoard();
    bool FetchModel(int connectLength);

    bool PlayerMayMove() const { return gameInProgress && playerTurn; }

    // Account values, handed over by the main window after a login.
    int userId = 0;
    QString loginExtra;
    int points = 0;
    QString sessionKey;
    int idage = 0;

    int gameTypeIndex = 0;
    int layerIndex = 0;
    bool modelLoaded = false;
    bool gameInProgress = false;
    bool playerTurn = true;
    int secondsLeft = kSecondsPerMove;
    int gameId = 0;
    std::unique_ptr<CGameBoard> board;

    // What the last LoadModel reported.
    int modelWidth = 0;
    int modelHeight = 0;
    int modelConnectLength = 0;

    CHttpClient& HttpClient() { return *httpClient; }
    const QString& ServiceUrl() const { return serviceUrl; }

private:
    void FillLayerBox();
    void ShowBoardSize();
    void EndOfPlay();
    bool QueryPoints();
    bool PayForGame();
    bool AskRecharge();
    RequestResult Post(std::string_view path, const FormBody& body);
    std::string SessionKey() const;

    GamePageHost& host;
    QString serviceUrl;
    std::unique_ptr<CHttpClient> httpClient;
};

} // namespace rowstone
