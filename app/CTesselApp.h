#pragma once

#include <QString>

namespace rowstone {

// The application: makes sure only one copy runs, then runs the main
// window modally until the player closes it.
class CTesselApp {
public:
    static constexpr const char* kMarkerName = "morvane_tsl";

    // serviceUrl: the game service's base address; markerDirectory: where
    // the marker of a running copy lives.
    CTesselApp(QString serviceUrl, QString markerDirectory);

    // Runs the program; returns its exit code.
    int Run();

private:
    QString serviceUrl;
    QString markerDirectory;
};

} // namespace rowstone
