#include "AUViewController.h"

AUViewController::~AUViewController() = default;
