// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app_icon.h"
#include "dialog_controls.h"
#include "dialog_units.h"
#include "vorlo_version.h"

namespace vorlo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About vorlo"));
    UseFixedDialogFrame(this);
    setModal(true);
    const DialogUnits units(font());
    setFixedSize(units.ToPixelsX(kWidthUnits), units.ToPixelsY(kHeightUnits));

    // Controls are created in tab order; the icon sits at the top left of
    // its rectangle at the icon's own size.
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(ApplicationIconPixmap(32, devicePixelRatioF()));
    SetControlId(icon, kStaticId);
    units.Place(icon, 11, 17, 20, 20);
    icon->resize(icon->size().expandedTo(QSize(32, 32)));

    auto* version = StaticText(tr("vorlo Version %1").arg(QStringLiteral(VORLO_VERSION)), this);
    version->setObjectName(QStringLiteral("version"));
    units.Place(version, 40, 10, 119, 8);

    auto* ownership = StaticText(tr("Copyright (C) the Vorlo team"), this);
    ownership->setObjectName(QStringLiteral("ownership"));
    units.Place(ownership, 40, 25, 125, 8);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    SetControlId(ok, kOkId);
    units.Place(ok, 178, 7, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* rule = StaticText(QString(33, u'_'), this);
    rule->setObjectName(QStringLiteral("rule"));
    units.Place(rule, 40, 48, 125, 9);

    auto* terms = StaticText(tr("Free to play and to share.\n"
                                "It comes with no warranty;\n"
                                "use it at your own risk."),
                             this);
    terms->setObjectName(QStringLiteral("terms"));
    units.Place(terms, 40, 62, 126, 29);

    auto* web = StaticText(tr("On the web: www.vorlo.example"), this);
    web->setObjectName(QStringLiteral("web"));
    units.Place(web, 40, 41, 125, 8);

    ok->setFocus();
}

}  // namespace vorlo
