#include "archiver/lzh/header.h"

namespace lzh {

Header::Header() = default;
Header::Header(const Header&) = default;
Header::Header(Header&&) noexcept = default;
Header& Header::operator=(const Header&) = default;
Header& Header::operator=(Header&&) noexcept = default;
Header::~Header() = default;

}  // namespace lzh
