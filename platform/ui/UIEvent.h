#pragma once

// The event a set of touches belongs to; nothing in it is read here.
class UIEvent {};
