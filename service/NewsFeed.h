#pragma once

#include "PageData.h"

#include <vector>

namespace rowstone::service {

// The items of the news page, newest first.
std::vector<NewsItem> DefaultNews();

} // namespace rowstone::service
