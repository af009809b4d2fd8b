#pragma once

class QIODevice;
struct Work;

// One external format, written a work at a time so that a long export runs in steps.
class WorkWriter {
public:
    virtual ~WorkWriter() = default;
    virtual void begin(QIODevice *out) = 0;
    virtual void write(const Work &work) = 0;
    virtual void end() = 0;
};
