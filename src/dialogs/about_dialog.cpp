// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_icon.h"
#include "dialog_controls.h"
#include "vorlo_version.h"

namespace vorlo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About vorlo"));
    UseFixedDialogFrame(this);
    setModal(true);

    // Three columns: the icon, the notices from top to bottom, the button.
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(ApplicationIconPixmap(32, devicePixelRatioF()));

    auto* version = StaticText(tr("vorlo Version %1").arg(QStringLiteral(VORLO_VERSION)), this);
    version->setObjectName(QStringLiteral("version"));
    auto* ownership = StaticText(tr("Copyright (C) the Vorlo team"), this);
    ownership->setObjectName(QStringLiteral("ownership"));

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* rule = StaticText(QString(33, u'_'), this);
    rule->setObjectName(QStringLiteral("rule"));
    auto* terms = StaticText(tr("Free to play and to share.\n"
                                "It comes with no warranty;\n"
                                "use it at your own risk."),
                             this);
    terms->setObjectName(QStringLiteral("terms"));
    auto* web = StaticText(tr("On the web: www.vorlo.example"), this);
    web->setObjectName(QStringLiteral("web"));

    auto* notices = new QVBoxLayout;
    notices->addWidget(version);
    notices->addWidget(ownership);
    notices->addSpacing(fontMetrics().height() / 2);
    notices->addWidget(web);
    notices->addWidget(rule);
    notices->addSpacing(fontMetrics().height() / 2);
    notices->addWidget(terms);
    notices->addStretch();

    auto* columns = new QHBoxLayout(this);
    columns->setSizeConstraint(QLayout::SetFixedSize);  // as large as the texts, no larger
    columns->addWidget(icon, 0, Qt::AlignTop);
    columns->addSpacing(fontMetrics().averageCharWidth());
    columns->addLayout(notices);
    columns->addSpacing(fontMetrics().averageCharWidth() * 2);
    columns->addWidget(buttons, 0, Qt::AlignTop);

    ok->setFocus();
}

}  // namespace vorlo
