// What a release sets, in one place: the product's name, its version text and
// the maker lines of the About box. Both the resource script and the C++ code
// include this file, so the macros are plain (narrow, UTF-8) string literals;
// C++ code makes them wide by putting L"" in front (L"" TWK_PRODUCT_NAME).
//
// The addresses are under example.org, the domain reserved for
// documentation, until the project has public ones.
#pragma once

#define TWK_PRODUCT_NAME "Tarnwick"
#define TWK_VERSION_TEXT "2.11"

#define TWK_MAKER_NAME TWK_PRODUCT_NAME " の開発者"
#define TWK_MAKER_MAIL "tarnwick@example.org"
#define TWK_HOME_PAGE "https://tarnwick.example.org/"
