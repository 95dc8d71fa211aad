#pragma once

#include <string>

// The web page's link: its address's fragment without the '#', as UTF-8. A
// fragment longer than a card's link may be is passed on only as far as it
// shows that it is too long.
std::string PageLinkText();

// The browser's languages, most wanted first, separated by ','.
std::string PageLanguages();
