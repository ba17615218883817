#pragma once

#include <QString>

namespace pelmar {

// The one version text: the window caption and the information label. The
// build takes it from the project's version.
inline const QString kPelmarVersion = QStringLiteral(PELMAR_VERSION_TEXT);

// The support page, shipped as HTML beside the program file.
inline const QString kSupportPageFile = QStringLiteral("pelmar-support.html");

} // namespace pelmar
