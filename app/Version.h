#pragma once

#include <QString>

namespace pelmar {

// The one version text: the window caption and the information label.
inline const QString kPelmarVersion = QStringLiteral("1.20");

// The support page, shipped as HTML beside the program file.
inline const QString kSupportPageFile = QStringLiteral("pelmar-support.html");

} // namespace pelmar
