#include "launcher/QProgressPopup.h"

QProgressPopup::~QProgressPopup() = default;
