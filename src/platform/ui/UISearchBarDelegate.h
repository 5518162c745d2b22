#pragma once
// What a search bar tells its delegate. Held weakly; main thread only.

#include <string>

namespace trc::ui {

class UISearchBar;

class UISearchBarDelegate {
public:
    virtual ~UISearchBarDelegate() = default;
    virtual void searchBarTextDidChange(UISearchBar& /*searchBar*/, const std::string& /*text*/) {}
    virtual void searchBarSearchButtonClicked(UISearchBar& /*searchBar*/) {}
};

}  // namespace trc::ui
