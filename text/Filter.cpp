#include "text/Filter.h"

#include "text/Replace.h"

bool PathMatchesFilters(std::string_view path, const TFileFilters& filters) {
    for (const std::string& filter : filters) {
        if (ContainsExact(path, filter)) {
            return true;
        }
    }
    return false;
}
