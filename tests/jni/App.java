package koru.test;

// The main class of the JNI tests. It keeps its arguments; "print" writes the next two on System.out and
// System.err, "throw" throws, "exit" ends the process with the next one as its status.
public class App {
    public static String[] received;

    public static void main(String[] args) {
        received = args;
        String action = args.length > 0 ? args[0] : "";
        if (action.equals("print")) {
            System.out.print(args[1]);
            System.err.print(args[2]);
        }
        if (action.equals("throw"))
            throw new IllegalStateException(args[1]);
        if (action.equals("exit"))
            System.exit(Integer.parseInt(args[1]));
    }
}
