#pragma once

// A small input-status holder for applications.
class CInput {
public:
    unsigned int Reserved0 = 0;
    unsigned int Reserved1 = 0;
    unsigned int Status = 0;

    void SetStatus(unsigned int status) { Status = status; }
    char isActive() { return Status == 1 ? 1 : 0; }
};
