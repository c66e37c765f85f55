#include "ServicePageAddress.h"

#include "QtUtf8.h"
#include "ServiceAddress.h"

namespace rowstone {

QString ServicePageAddress(const QString& baseAddress, std::string_view path,
                           std::initializer_list<std::int32_t> numbers) {
    const QByteArray base = baseAddress.toUtf8();
    return ui::FromUtf8(ServiceAddress(ui::Utf8View(base), path, numbers));
}

} // namespace rowstone
