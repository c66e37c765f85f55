#include "CSingleInstance.h"
#include "CTesselApp.h"
#include "DialogUnits.h"
#include "ServiceConfig.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setFont(rowstone::ui::WithUiFallback(QApplication::font()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/res/rowstone.png")));
    // The service's base address is fixed when the program is built.
    const QString serviceUrl =
        QString::fromUtf8(rowstone::kDefaultServiceUrl.data(),
                          static_cast<qsizetype>(rowstone::kDefaultServiceUrl.size()));
    rowstone::CTesselApp app(serviceUrl, rowstone::CSingleInstance::DefaultDirectory());
    return app.Run();
}
