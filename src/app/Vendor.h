#pragma once
// Who makes Velloran and how users reach them: shown in the About box, the
// status bar and the messages that invite users to ask for help.
#include <QString>

namespace velloran::app::vendor {

inline const QString kDeveloper = QStringLiteral("杭州维朗软件有限公司");
inline const QString kTelephone = QStringLiteral("0571-8692 4105");
inline const QString kMobile = QStringLiteral("138 5716 2094");
inline const QString kMessenger = QStringLiteral("QQ");
inline const QString kMessengerAccount = QStringLiteral("800 017 368");
inline const QString kWebAddress = QStringLiteral("https://www.velloran.cn");
inline const QString kSupportSentence =
    QStringLiteral("如需帮助，请联系%1技术支持，电话：%2。").arg(kDeveloper, kTelephone);
inline const QString kStatusText = QStringLiteral("维朗软件  支持电话：%1").arg(kTelephone);

}  // namespace velloran::app::vendor
