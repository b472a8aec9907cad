#pragma once

namespace Tessar {

} // namespace Tessar
